// The registry functions over the classes root. The root is read once per process, so each CTest
// entry names one classes root and runs the suites meant for it (see CMakeLists.txt); a suite
// meant for another root skips. The reference and interface suites also run against the real
// registry in the Windows build.
#include "CodePage.h"
#include "FailingAllocator.h"
#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Whether this run reads the classes root from a file whose path contains `file`, or with ""
// from the MIME database. In the Windows build the real registry stands in for the reference
// export of one, and the other roots are never there.
bool RootIs(const char* file) {
    if (BWCORE_TEST_REAL_WIN32)
        return strcmp(file, "classes_root.reg") == 0;
    const char* root = getenv("BWCORE_CLASSES_ROOT");
    const std::string path = root != nullptr ? root : "";
    return *file == '\0' ? path.empty() : path.find(file) != std::string::npos;
}

#define REQUIRE_ROOT(file)                                                                         \
    do {                                                                                           \
        if (!RootIs(file))                                                                         \
            GTEST_SKIP() << "needs the classes root " << (file);                                   \
    } while (0)

// Reads a value of root\path: the status of the first call that failed, else 0 with the
// value's type and data.
LSTATUS ReadValue(HKEY root, const char* path, const char* name, DWORD* type, std::string* data) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExA(root, path, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS)
        return status;
    BYTE buffer[260];
    DWORD size = sizeof buffer;
    status = RegQueryValueExA(key, name, nullptr, type, buffer, &size);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    if (status == ERROR_SUCCESS)
        data->assign(reinterpret_cast<char*>(buffer), size);
    return status;
}

// One lookup step as the reference table records it, into a 260-byte buffer: "ok:<type>:<size>",
// "open:<error>" or "query:<error>:<size>", and the text read.
std::string ReferenceStep(const std::string& path, std::string* text) {
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS)
        return "open:" + std::to_string(opened);
    char buffer[260];
    DWORD type = REG_NONE, size = sizeof buffer;
    const LSTATUS read =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    if (read != ERROR_SUCCESS)
        return "query:" + std::to_string(read) + ":" + std::to_string(size);
    text->assign(buffer, strnlen(buffer, size));
    return std::string(type == REG_EXPAND_SZ ? "ok:REG_EXPAND_SZ:" : "ok:REG_SZ:") +
           std::to_string(size);
}

TEST(RegistryReference, FileTypeLookupsAsMeasured) {
    REQUIRE_ROOT("classes_root.reg");
    const ReferenceTable table("filetypes.tsv");
    ASSERT_GT(table.RowCount(), 20u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string ext = table.Get(row, "ext");
        SCOPED_TRACE(ext);
        std::string className;
        ASSERT_EQ(ReferenceStep(ext, &className), table.Get(row, "class_status"));
        EXPECT_EQ(className, table.Get(row, "class"));
        if (table.Get(row, "class_status").compare(0, 3, "ok:") != 0)
            continue;
        const struct {
            const char* column;
            std::string path;
        } steps[] = {{"icon", className + "\\DefaultIcon"},
                     {"type_text", className},
                     {"open_command", className + "\\Shell\\Open\\Command"}};
        for (const auto& step : steps) {
            std::string text;
            EXPECT_EQ(ReferenceStep(step.path, &text),
                      table.Get(row, step.column + std::string("_status")))
                << step.column;
            EXPECT_EQ(text, table.Get(row, step.column)) << step.column;
        }
    }
}

TEST(RegistryApi, DataSizeRules) {
    REQUIRE_ROOT("classes_root.reg");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "txtfile", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD type = REG_NONE, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 14u); // "Text Document" and its terminator
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    char buffer[20];
    memset(buffer, 'x', sizeof buffer);
    size = 13;
    EXPECT_EQ(
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    size = 14;
    EXPECT_EQ(
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "Text Document");
    EXPECT_EQ(buffer[14], 'x');
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(RegistryApi, HandlesAndArguments) {
    REQUIRE_ROOT("classes_root.reg");
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1230));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(bogus, nullptr, nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);
    HKEY key = bogus;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".zzq", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "TxtFile", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    BYTE data[4];
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, data, nullptr),
              ERROR_INVALID_PARAMETER);
    HKEY command = nullptr;
    EXPECT_EQ(RegOpenKeyExA(key, "SHELL\\open\\Command\\", 0, KEY_WRITE, &command), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    // A key opened from another outlives it, and can be read only if opened for reading; a
    // closed handle is no key any more.
    EXPECT_EQ(RegQueryValueExA(command, nullptr, nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(command), ERROR_SUCCESS);
}

TEST(RegistryApi, SubkeyPaths) {
    REQUIRE_ROOT("classes_root.reg");
    const struct {
        HKEY root;
        const char* path;
        LSTATUS status;
    } cases[] = {
        {HKEY_CLASSES_ROOT, nullptr, ERROR_SUCCESS},
        {HKEY_CLASSES_ROOT, "", ERROR_SUCCESS},
        {HKEY_CLASSES_ROOT, "\\txtfile\\\\shell", ERROR_SUCCESS},
        {HKEY_CLASSES_ROOT, "txtfile\\Shell\\None", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "Software\\CLASSES\\txtfile\\shell", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, "Software\\NoSuchBwcoreKey", ERROR_FILE_NOT_FOUND},
        {HKEY_USERS, ".txt", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path != nullptr ? c.path : "(null)");
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(c.root, c.path, 0, KEY_READ, &key), c.status);
        if (key != nullptr) {
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        }
    }
}

TEST(RegistryFileForms, ValuesAsWritten) {
    REQUIRE_ROOT("registry/forms");
    const DWORD missing = REG_NONE;
    const struct {
        const char* path;
        const char* name;
        DWORD type; // REG_NONE: the key or value is not there
        std::string data;
    } cases[] = {
        {".txt", nullptr, REG_SZ, std::string("txtfile", 8)},
        {".TXT", "content type", REG_SZ, std::string("text/plain", 11)},
        {"txtfile", "", REG_SZ, std::string("Text Document", 14)},
        {"txtfile", "Quoted", REG_SZ, std::string("say \"hi\" C:\\dir\\ \\x", 20)},
        {"txtfile", "Line", REG_SZ, std::string("a\nb", 4)},
        {"txtfile", "Number", REG_DWORD, std::string("\x2a\0\0\0", 4)},
        {"txtfile", "Short", REG_DWORD, std::string("\x07\0\0\0", 4)},
        {"txtfile", "Bytes", REG_BINARY, std::string("\x00\x01\xfe\xff", 4)},
        {"txtfile", "Expand", REG_EXPAND_SZ, std::string("%SYSTEMROOT%\\a", 15)},
        {"txtfile", "Multi", REG_MULTI_SZ, std::string("a\0b\0", 5)},
        {"txtfile", "Empty", REG_BINARY, std::string()},
        {"txtfile", "Eight", REG_QWORD, std::string("\1\2\3\4\5\6\7\x08", 8)},
        {"txtfile", "Accent", REG_SZ, std::string("caf\xe9", 5)},
        {"txtfile", "Spaced", REG_SZ, std::string("blank around equals", 20)},
        {"TXTFILE\\Shell\\Open\\Command", nullptr, REG_SZ, std::string("notepad.exe \"%1\"", 17)},
        {"lmfile", nullptr, REG_SZ, std::string("from HKLM", 10)},
        {"cufile", nullptr, REG_SZ, std::string("from HKCU", 10)},
        {".dll", nullptr, REG_SZ, std::string("dllfile", 8)},
        {"txtfile", "Gone", missing, ""},
        {"txtfile", "Bad hex", missing, ""},
        {"txtfile", "Long hex", missing, ""},
        {"txtfile", "Bad dword", missing, ""},
        {"txtfile", "Unterminated", missing, ""},
        {"txtfile", "Trailing", missing, ""},
        {"doomed", nullptr, missing, ""},
        {".dll", "Stray", missing, ""},
        {"broken", nullptr, missing, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + (c.name != nullptr ? c.name : "@"));
        DWORD type = REG_NONE;
        std::string data;
        const LSTATUS status = ReadValue(HKEY_CLASSES_ROOT, c.path, c.name, &type, &data);
        EXPECT_EQ(status, c.type == missing ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(data, c.data);
    }
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Other", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

// Double-byte names: the trail byte 0x5C of 0x955C is no separator, and full-width letters
// fold as the code page folds them.
TEST(RegistryFileFormsCp932, DoubleByteNames) {
    REQUIRE_ROOT("registry/forms5");
    BW_REQUIRE_ACP(932);
    DWORD type = REG_NONE;
    std::string data;
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "\x95\x5C\\sub", nullptr, &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(data, std::string("hyo", 4));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "\x82\x81", nullptr, &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(data, std::string("fullwidth", 10));
}

TEST(RegistryMime, ClassesFromTheDatabase) {
    REQUIRE_ROOT("");
    const char* const none = nullptr;
    const struct {
        const char* path;
        const char* name;
        const char* text; // null: the key or value is not there
    } cases[] = {
        // The higher weight wins; then a glob without case; then one in lower case.
        {".pdf", nullptr, "application/pdf"},
        {".PDF", "Content Type", "application/pdf"},
        {".c", nullptr, "text/x-csrc"},
        // The comment without xml:lang, references resolved; the user's directory first.
        {"application/pdf", nullptr, "PDF document"},
        {"text/x-csrc", nullptr, "C source & <header> caf\xe9"},
        {".log", nullptr, "text/x-log"},
        {"text/x-log", nullptr, "application log"},
        // mimeapps.list, then defaults.list, then mimeinfo.cache; missing, hidden and unsafe
        // entries are passed over.
        {"application/pdf\\Shell\\Open\\Command", nullptr, "viewer --page 1 \"%1\""},
        {"text/plain\\shell\\open\\command", nullptr, "\"/opt/my edit/edit\" -n 100% \"%1\""},
        {"text/x-csrc\\Shell\\Open\\Command", nullptr, "\"/opt/my edit/edit\" -n 100% \"%1\""},
        {"text/x-log\\Shell\\Open\\Command", nullptr, "viewer --page 1 \"%1\""},
        {"application/x-nocomment", nullptr, none},
        {"application/x-lesser", nullptr, none},
        {".so", nullptr, none},
        {".gz", nullptr, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        DWORD type = REG_NONE;
        std::string data;
        const LSTATUS status = ReadValue(HKEY_CLASSES_ROOT, c.path, c.name, &type, &data);
        EXPECT_EQ(status, c.text == none ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS);
        if (c.text != none) {
            EXPECT_EQ(data, std::string(c.text, strlen(c.text) + 1));
        }
    }
}

// The first call reads the root: an allocation failure at any step of it fails the call cleanly,
// and the next call reads the root again, whole.
TEST(RegistryMemory, FirstCallOutOfMemory) {
    REQUIRE_ROOT("registry/forms4");
    HKEY key = nullptr;
    for (int allowed = 0;; ++allowed) {
        FailAllocationsAfter(allowed);
        const LSTATUS status = RegOpenKeyExA(HKEY_CLASSES_ROOT, "txtfile", 0, KEY_READ, &key);
        AllowAllocations();
        if (status == ERROR_SUCCESS)
            break;
        ASSERT_EQ(status, ERROR_NOT_ENOUGH_MEMORY) << allowed;
    }
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Spaced", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// First calls made at once from several threads read the root once, and each finds it whole.
TEST(RegistryThreads, FirstCallsAtOnce) {
    REQUIRE_ROOT("registry/forms4");
    std::atomic<int> found{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&found] {
            DWORD type = REG_NONE;
            std::string data;
            if (ReadValue(HKEY_CLASSES_ROOT, "txtfile", "Spaced", &type, &data) == ERROR_SUCCESS &&
                data == std::string("blank around equals", 20))
                ++found;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(found, 4);
}

} // namespace
