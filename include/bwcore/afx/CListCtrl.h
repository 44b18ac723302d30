// CListCtrl: a list-view control ("SysListView32"), driven by its LVM_... messages.
//
// Check boxes live in the state-image bits of an item's state (LVIS_STATEIMAGEMASK): state image
// 2 is checked, 1 unchecked, 0 no state image. GetCheck answers 1, 0, or -1 for an item without a
// state image, whether or not the control has the LVS_EX_CHECKBOXES style.
#pragma once

#include <bwcore/afx/CWnd.h>

class BWAFX_API CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added) with identifier nID. As
    // in the framework, this form hides CWnd::Create: a control is made with its own class.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
#pragma GCC diagnostic pop

    // Inserts column nCol; nWidth and nSubItem of -1 leave the width and the subitem unset. The
    // new column's index, or -1.
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1, int nSubItem = -1);
    // Inserts an item with the text at index nItem (clamped by the control); its index, or -1.
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(const LVITEM* pItem);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;

    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    // The whole text, however long; empty for a bad index.
    CString GetItemText(int nItem, int nSubItem) const;
    // Copies at most nLen - 1 bytes and a terminator; the length copied.
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;

    // The item's state bits under the mask (LVM_GETITEMSTATE).
    UINT GetItemState(int nItem, UINT nMask) const;
    // Sets the state bits under the mask; nItem -1 sets them on every item.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // State image 2 (checked) or 1 (unchecked).
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
    // The state image less one: 1 checked, 0 unchecked, -1 without a state image.
    BOOL GetCheck(int nItem) const;
    // The next item after nItem (-1: from the start) with the LVNI_... properties; -1 when none.
    int GetNextItem(int nItem, int nFlags) const;

    // Sets the LVS_EX_... styles (all of them: the mask is 0); the previous styles.
    DWORD SetExtendedStyle(DWORD dwNewStyle);
    DWORD GetExtendedStyle() const;
};
