// Modules and their resources, for Linux.
//
// A module handle is the module's load address as dladdr reports it (like the image base on
// Windows). Resources are served from the constant directories that modules register at load time
// (see module_entry.cpp); a module that registered none behaves like a Windows module without a
// resource section.
#include <bwcore/platform.h>

#include <dlfcn.h>
#include <link.h>
#include <sys/auxv.h>

#include <cstring>
#include <mutex>
#include <new>
#include <string>

namespace {

// On Linux the user's language is US English: the layer keeps no language setting.
constexpr WORD user_language = 0x0409;

WORD make_langid(WORD primary, WORD sub) {
    return static_cast<WORD>((sub << 10) | primary);
}
WORD primary_langid(WORD lang) {
    return static_cast<WORD>(lang & 0x3FF);
}

// The registered modules, as a list of plain nodes: it needs no constructor or destructor, so
// modules can register and unregister from their load-time and unload-time code in any order
// relative to this library's own static objects.
struct module_node {
    HMODULE module;
    const BW_RESOURCE_DIRECTORY* directory;
    module_node* next;
};

std::mutex registry_mutex;
module_node* registry_head = nullptr;

// Called with registry_mutex held.
module_node** find_node(HMODULE module) {
    module_node** link = &registry_head;
    while (*link && (*link)->module != module)
        link = &(*link)->next;
    return link;
}

HMODULE module_of_address(const void* address) {
    Dl_info info;
    if (!dladdr(address, &info))
        return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

HMODULE main_program() {
    // The program headers lie in the main program's first mapped segment.
    return module_of_address(reinterpret_cast<const void*>(getauxval(AT_PHDR)));
}

// A type or name argument: an integer made with MAKEINTRESOURCE, or a string, which Win32
// compares without regard to case (scripts store names in upper case).
struct resource_key {
    bool is_id;
    WORD id;
    std::string name;
};

resource_key make_key(LPCSTR p) {
    if (IS_INTRESOURCE(p))
        return {true, LOWORD(reinterpret_cast<ULONG_PTR>(p)), std::string()};
    std::string name(p);
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return {false, 0, name};
}

bool type_matches(const resource_key& key, const BW_RESOURCE_ENTRY& e) {
    return key.is_id && e.Type == key.id;
}

bool name_matches(const resource_key& key, const BW_RESOURCE_ENTRY& e) {
    if (key.is_id)
        return !e.NameString && e.NameId == key.id;
    return e.NameString && key.name == e.NameString;
}

// Picks one of the languages [first, last) of a resource in Win32's order: the language asked
// for, its primary language with the neutral sublanguage, the neutral language; when the neutral
// language was asked for, then the user's language and its primary language; and finally the
// first (lowest) language the resource has.
const BW_RESOURCE_ENTRY* pick_language(const BW_RESOURCE_ENTRY* first,
                                       const BW_RESOURCE_ENTRY* last, WORD lang) {
    WORD wanted[5];
    int count = 0;
    wanted[count++] = lang;
    wanted[count++] = make_langid(primary_langid(lang), 0);
    wanted[count++] = 0;
    if (primary_langid(lang) == 0) {
        wanted[count++] = user_language;
        wanted[count++] = make_langid(primary_langid(user_language), 0);
    }
    for (int i = 0; i < count; ++i)
        for (const BW_RESOURCE_ENTRY* e = first; e != last; ++e)
            if (e->Language == wanted[i])
                return e;
    return first;
}

std::string lower_case(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A file name to look for among the loaded modules (lower case), and where its first segment
// was found.
struct module_search {
    std::string file;
    std::string so_file; // "libx.so" for "x.dll", else empty
    const void* address;
};

// dl_iterate_phdr callback: stops at the first module whose file name matches.
int match_module(dl_phdr_info* info, size_t, void* data) {
    module_search* search = static_cast<module_search*>(data);
    std::string file = info->dlpi_name ? info->dlpi_name : "";
    size_t slash = file.find_last_of('/');
    if (slash != std::string::npos)
        file.erase(0, slash + 1);
    file = lower_case(file);
    const std::string& so = search->so_file;
    bool match = !file.empty() &&
                 (file == search->file ||
                  (!so.empty() && (file == so || file.compare(0, so.size() + 1, so + ".") == 0)));
    if (!match)
        return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            search->address =
                reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    return 0;
}

} // namespace

BW_EXTERN_C void WINAPI BwRegisterModuleResources(HMODULE hModule,
                                                  const BW_RESOURCE_DIRECTORY* pDirectory) {
    std::lock_guard<std::mutex> lock(registry_mutex);
    module_node** link = find_node(hModule);
    if (*link)
        (*link)->directory = pDirectory;
    else if (module_node* node = new (std::nothrow) module_node{hModule, pDirectory, registry_head})
        registry_head = node; // else the module has no resources, as if it had registered none
}

BW_EXTERN_C void WINAPI BwUnregisterModuleResources(HMODULE hModule) {
    std::lock_guard<std::mutex> lock(registry_mutex);
    module_node** link = find_node(hModule);
    if (module_node* node = *link) {
        *link = node->next;
        delete node;
    }
}

BW_EXTERN_C HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) try {
    if (!lpModuleName)
        return main_program();

    // Compare file names only, without case. A name without an extension means a DLL, as on
    // Windows, and a DLL name "x.dll" also matches the shared object "libx.so" (with or without
    // a version suffix), the file our Linux build makes of it.
    std::string wanted(lpModuleName);
    size_t slash = wanted.find_last_of("/\\");
    if (slash != std::string::npos)
        wanted.erase(0, slash + 1);
    wanted = lower_case(wanted);
    if (wanted.find('.') == std::string::npos)
        wanted += ".dll";
    std::string so_name;
    if (wanted.size() > 4 && wanted.compare(wanted.size() - 4, 4, ".dll") == 0)
        so_name = "lib" + wanted.substr(0, wanted.size() - 4) + ".so";

    module_search search = {wanted, so_name, nullptr};
    dl_iterate_phdr(match_module, &search);
    if (!search.address) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return module_of_address(search.address);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

BW_EXTERN_C HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName,
                                         WORD wLanguage) try {
    if (!hModule)
        hModule = main_program();
    resource_key type = make_key(lpType);
    resource_key name = make_key(lpName);

    std::lock_guard<std::mutex> lock(registry_mutex);
    module_node* node = *find_node(hModule);
    if (!node || !node->directory || node->directory->Count == 0) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // Entries are sorted by type, then name, then language, so the languages of one resource
    // are adjacent.
    const BW_RESOURCE_ENTRY* begin = node->directory->Entries;
    const BW_RESOURCE_ENTRY* end = begin + node->directory->Count;
    bool type_found = false;
    const BW_RESOURCE_ENTRY* first = nullptr;
    const BW_RESOURCE_ENTRY* e = begin;
    for (; e != end; ++e) {
        if (!type_matches(type, *e))
            continue;
        type_found = true;
        if (name_matches(name, *e)) {
            first = e;
            break;
        }
    }
    if (!first) {
        SetLastError(type_found ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    const BW_RESOURCE_ENTRY* last = first;
    while (last != end && type_matches(type, *last) && name_matches(name, *last))
        ++last;
    return reinterpret_cast<HRSRC>(
        const_cast<BW_RESOURCE_ENTRY*>(pick_language(first, last, wLanguage)));
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

BW_EXTERN_C HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    return FindResourceExA(hModule, lpType, lpName, 0);
}

BW_EXTERN_C HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
    if (!hResInfo)
        return nullptr;
    const BW_RESOURCE_ENTRY* e = reinterpret_cast<const BW_RESOURCE_ENTRY*>(hResInfo);
    return const_cast<BYTE*>(e->Data);
}

BW_EXTERN_C LPVOID WINAPI LockResource(HGLOBAL hResData) {
    return hResData;
}

BW_EXTERN_C DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
    if (!hResInfo)
        return 0;
    return reinterpret_cast<const BW_RESOURCE_ENTRY*>(hResInfo)->Size;
}

// Resources stay in memory while their module is loaded; Win32 reports FALSE here.
BW_EXTERN_C BOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;
}

BW_EXTERN_C int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer,
                                   int cchBufferMax) try {
    // Win32 answers a zero-sized buffer with -1 and writes nothing. A negative size has no
    // documented meaning; it is treated as no room at all.
    if (cchBufferMax == 0)
        return -1;
    if (cchBufferMax < 0 || !lpBuffer)
        return 0;

    // Only the low word of the id counts. String n lives in block n / 16 + 1, at index n % 16.
    WORD id = LOWORD(uID);
    std::u16string text;
    if (HRSRC block = FindResourceA(hInstance, MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING)) {
        const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, block)));
        const BYTE* end = p + SizeofResource(hInstance, block);
        for (int index = 0;; ++index) {
            if (end - p < 2)
                break;
            WORD length;
            std::memcpy(&length, p, sizeof length);
            p += 2;
            if (static_cast<size_t>(end - p) < 2u * length)
                break;
            if (index == (id & 0xF)) {
                text.resize(length);
                std::memcpy(&text[0], p, 2u * length);
                break;
            }
            p += 2u * length;
        }
    }

    std::string ansi;
    if (!text.empty()) {
        int length = static_cast<int>(text.size());
        int size =
            WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
        ansi.resize(static_cast<size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], size, nullptr, nullptr);
    }
    // Copy what fits before the terminator, never half of a double-byte character.
    size_t room = static_cast<size_t>(cchBufferMax) - 1;
    size_t copied = 0;
    while (copied < ansi.size()) {
        size_t step =
            IsDBCSLeadByte(static_cast<BYTE>(ansi[copied])) && copied + 1 < ansi.size() ? 2 : 1;
        if (copied + step > room)
            break;
        copied += step;
    }
    std::memcpy(lpBuffer, ansi.data(), copied);
    lpBuffer[copied] = '\0';
    return static_cast<int>(copied);
} catch (const std::bad_alloc&) {
    lpBuffer[0] = '\0';
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}
