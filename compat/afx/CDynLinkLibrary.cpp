#include <bwcore/afx/CDynLinkLibrary.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace {

// The chain, newest entry first. Modules are loaded and unloaded on any thread, so the chain is
// guarded; both objects are constant-initialised, so modules may use them from their DllMain
// whatever the order of static initialisation.
std::mutex chain_mutex;
CDynLinkLibrary* chain_head = nullptr;

std::atomic<HINSTANCE> resource_handle{nullptr};

// The resource modules to search, in search order: the entries that are not system modules, then
// the system modules, each group newest first. The look-ups themselves run on this copy, outside
// the chain's lock, so that the lock is never held while the platform's resource functions take
// locks of their own.
std::vector<HMODULE> search_order() {
    std::vector<HMODULE> order;
    std::lock_guard<std::mutex> lock(chain_mutex);
    for (int system = 0; system < 2; ++system)
        for (CDynLinkLibrary* p = chain_head; p; p = p->m_pNextDLL)
            if ((p->m_bSystem != FALSE) == (system == 1) && p->m_hResource)
                order.push_back(p->m_hResource);
    return order;
}

void link_at_head(CDynLinkLibrary* library) {
    std::lock_guard<std::mutex> lock(chain_mutex);
    library->m_pNextDLL = chain_head;
    chain_head = library;
}

} // namespace

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized)
        return TRUE;
    if (!hModule)
        return FALSE;
    state.bInitialized = TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized)
        return;
    // Unlink the entries first and delete them after the lock is released: a destructor finds
    // its entry already gone from the chain.
    CDynLinkLibrary* doomed = nullptr;
    {
        std::lock_guard<std::mutex> lock(chain_mutex);
        CDynLinkLibrary** link = &chain_head;
        while (CDynLinkLibrary* p = *link) {
            if (bAll || p->m_hModule == state.hModule) {
                *link = p->m_pNextDLL;
                p->m_pNextDLL = doomed;
                doomed = p;
            } else {
                link = &p->m_pNextDLL;
            }
        }
    }
    while (doomed) {
        CDynLinkLibrary* next = doomed->m_pNextDLL;
        doomed->m_pNextDLL = nullptr;
        delete doomed;
        doomed = next;
    }
    state.bInitialized = FALSE;
    state.hModule = nullptr;
    state.hResource = nullptr;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem),
      m_pNextDLL(nullptr) {
    link_at_head(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(nullptr) {
    link_at_head(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::lock_guard<std::mutex> lock(chain_mutex);
    for (CDynLinkLibrary** link = &chain_head; *link; link = &(*link)->m_pNextDLL)
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
}

CDynLinkLibrary* AfxGetFirstDynLinkLibrary() {
    std::lock_guard<std::mutex> lock(chain_mutex);
    return chain_head;
}

HINSTANCE AfxGetResourceHandle() {
    return resource_handle.load();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    resource_handle.store(hInstResource);
}

namespace {

// The first module, the resource module and then the chain in search order, that `holds`.
template <typename Holds>
HINSTANCE find_module(Holds holds) {
    if (HINSTANCE own = AfxGetResourceHandle())
        if (holds(own))
            return own;
    for (HMODULE module : search_order())
        if (holds(module))
            return module;
    return nullptr;
}

} // namespace

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
    return find_module(
        [&](HINSTANCE module) { return ::FindResourceA(module, lpszName, lpszType) != nullptr; });
}

// A module answers for a string only when it holds the string itself, not merely its block of
// sixteen: another module with one string of a catalogue block must not hide the other fifteen.
HINSTANCE AfxFindStringResourceHandle(UINT nID) {
    return find_module([nID](HINSTANCE module) {
        char probe[2];
        return ::LoadStringA(module, nID, probe, sizeof probe) > 0;
    });
}

int AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf) {
    HINSTANCE module = AfxFindStringResourceHandle(nID);
    if (!module) {
        if (nMaxBuf > 0)
            lpszBuf[0] = '\0';
        return 0;
    }
    return ::LoadStringA(module, nID, lpszBuf, static_cast<int>(nMaxBuf));
}
