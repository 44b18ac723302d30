#include <bwcore/afx/CCmdTarget.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const AFX_MSGMAP_ENTRY no_entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP map = {nullptr, no_entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                            UINT nID) {
    if (!lpEntry)
        return nullptr;
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry)
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && lpEntry->nID <= nID &&
            nID <= lpEntry->nLastID)
            return lpEntry;
    return nullptr;
}

// The class's own map first, then each base's: a derived class's entry hides its base's entry
// for the same command.
BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO*) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* entry =
            AfxFindMessageEntry(map->lpEntries, WM_COMMAND, static_cast<UINT>(nCode), nID);
        if (entry) {
            (this->*entry->pfn)();
            return TRUE;
        }
    }
    return FALSE;
}
