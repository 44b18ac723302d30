// CTreeCtrl: a tree-view control ("SysTreeView32"), driven by its TVM_... messages.
#pragma once

#include <bwcore/afx/CWnd.h>

class BWAFX_API CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added) with identifier nID. As
    // in the framework, this form hides CWnd::Create: a control is made with its own class.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
#pragma GCC diagnostic pop

    // Inserts an item with the text under hParent after hInsertAfter (TVI_FIRST, TVI_LAST,
    // TVI_SORT or a sibling); the new item, or null.
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(TVINSERTSTRUCT* lpInsertStruct);
    // Deletes the item and everything below it.
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems();
    UINT GetCount() const;

    // The whole text, however long; empty for a bad item.
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);

    // The item in relation nCode (TVGN_...) to hItem; null when there is none.
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetRootItem() const;
    // Whether the item has a child.
    BOOL ItemHasChildren(HTREEITEM hItem) const;
};
