#include <bwcore/afx/CTreeCtrl.h>

#include <string.h>
#include <vector>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

// Registered on first use as well as at start-up, as CListCtrl::Create explains.
BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create("SysTreeView32", nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(TVINSERTSTRUCT* lpInsertStruct) {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)));
}

BOOL CTreeCtrl::DeleteAllItems() {
    return DeleteItem(TVI_ROOT);
}

UINT CTreeCtrl::GetCount() const {
    return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}

// TVM_GETITEMA does not say how much it copied: a text that fills the buffer to its last byte may
// have been cut, so the buffer is doubled until the text leaves room to spare.
CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    std::vector<char> buffer;
    size_t length = 0;
    do {
        buffer.assign(buffer.empty() ? 256 : buffer.size() * 2, '\0');
        TVITEMA item = {};
        item.hItem = hItem;
        item.mask = TVIF_TEXT;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        if (!SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return CString();
        length = strlen(buffer.data());
    } while (length >= buffer.size() - 1);
    return CString(buffer.data());
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    TVITEMA item = {};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    return GetNextItem(hItem, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    return GetNextItem(hItem, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    return GetNextItem(hItem, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetNextItem(nullptr, TVGN_ROOT);
}

// By the first child rather than the item's TVIF_CHILDREN count, which is whatever the inserting
// code set when it set one (I_CHILDRENCALLBACK, for instance).
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    return GetChildItem(hItem) != nullptr;
}
