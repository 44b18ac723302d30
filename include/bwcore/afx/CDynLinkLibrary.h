// Extension modules and the framework's resource chain.
//
// A module that holds resources (bwcore itself) initialises an AFX_EXTENSION_MODULE when it is
// loaded and puts a CDynLinkLibrary for it on the process-wide resource chain; resource look-ups
// made anywhere in the process (CString::LoadString, AfxFindResourceHandle, icons and dialog
// templates) walk the chain, newest entry first, and use the first module that has the resource.
#pragma once

#include <bwcore/afx/CCmdTarget.h>

struct BWAFX_API AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Records the module's handles; TRUE on success (and on a repeated call).
BWAFX_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Removes and deletes every chain entry made for the module, and resets the state.
BWAFX_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class BWAFX_API CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    // Links a new entry for the module at the head of the chain.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    // Unlinks the entry.
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

// The chain's entries, newest first (null when the chain is empty).
BWAFX_API CDynLinkLibrary* AfxGetFirstDynLinkLibrary();
// The module the application's own resources come from; null until set.
BWAFX_API HINSTANCE AfxGetResourceHandle();
BWAFX_API void AfxSetResourceHandle(HINSTANCE hInstResource);
// The first module, the application's resource module first and then the chain, that holds the
// resource; null when none does.
BWAFX_API HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The first module, in the same order, that holds string nID itself (a module whose block of
// sixteen lacks it is passed over).
BWAFX_API HINSTANCE AfxFindStringResourceHandle(UINT nID);
// Loads string nID from the first module that has it; the length, 0 when none has it.
BWAFX_API int AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf = 256);
