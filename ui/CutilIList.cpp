#include <bwcore/ui/CutilIList.h>

#include <bwcore/platform.h>

namespace {

// Selection and focus travel together.
const UINT kSelectionMask = LVIS_SELECTED | LVIS_FOCUSED;

int ItemCount(CListCtrl& list) {
    return static_cast<int>(::SendMessage(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

bool IsSelected(CListCtrl& list, int nItem) {
    return list.GetItemState(nItem, LVIS_SELECTED) != 0;
}

} // namespace

int CutilIListCheckItem(CListCtrl& list, int nItem, int nCheck) {
    list.SetCheck(nItem, nCheck);
    return 1;
}

int CutilIListClearAllOthers(CListCtrl& list, int nItem) {
    const int nCount = ItemCount(list);
    for (int i = 0; i < nCount; ++i) {
        if (i != nItem)
            list.SetItemState(i, 0, kSelectionMask);
    }
    if (nItem >= 0)
        list.SetItemState(nItem, kSelectionMask, kSelectionMask);
    return 1;
}

int CutilIListFindItem(CListCtrl& list, const CString& strText) {
    const int nCount = ItemCount(list);
    for (int i = 0; i < nCount; ++i) {
        if (list.GetItemText(i, 0).CompareNoCase(strText) == 0)
            return i;
    }
    return -1;
}

int CutilIListFindSelectedItem(CListCtrl& list) {
    const int nCount = ItemCount(list);
    for (int i = 0; i < nCount; ++i) {
        if (IsSelected(list, i))
            return i;
    }
    return -1;
}

int CutilIListGetCheckedItemList(CListCtrl& list, CStringArray& arr) {
    const int nCount = ItemCount(list);
    for (int i = 0; i < nCount; ++i) {
        if (list.GetCheck(i) != 0)
            arr.Add(list.GetItemText(i, 0));
    }
    return static_cast<int>(arr.GetSize());
}

int CutilIListGetSelectedList(CListCtrl& list, CStringArray& arr) {
    const int nCount = ItemCount(list);
    for (int i = 0; i < nCount; ++i) {
        if (IsSelected(list, i))
            arr.Add(list.GetItemText(i, 0));
    }
    return static_cast<int>(arr.GetSize());
}

int CutilIListIsItemSelected(CListCtrl& list, int nItem) {
    return IsSelected(list, nItem) ? 1 : 0;
}

int CutilIListSelectItem(CListCtrl& list, int nItem, int nSelect) {
    list.SetItemState(nItem, nSelect != 0 ? kSelectionMask : 0, kSelectionMask);
    return 1;
}

int CutilIListCheckItem(CListCtrl* pList, int nItem, int nCheck) {
    return CutilIListCheckItem(*pList, nItem, nCheck);
}

int CutilIListClearAllOthers(CListCtrl* pList, int nItem) {
    return CutilIListClearAllOthers(*pList, nItem);
}

int CutilIListFindItem(CListCtrl* pList, const CString& strText) {
    return CutilIListFindItem(*pList, strText);
}

int CutilIListFindSelectedItem(CListCtrl* pList) {
    return CutilIListFindSelectedItem(*pList);
}

int CutilIListGetCheckedItemList(CListCtrl* pList, CStringArray& arr) {
    return CutilIListGetCheckedItemList(*pList, arr);
}

int CutilIListGetSelectedList(CListCtrl* pList, CStringArray& arr) {
    return CutilIListGetSelectedList(*pList, arr);
}

int CutilIListIsItemSelected(CListCtrl* pList, int nItem) {
    return CutilIListIsItemSelected(*pList, nItem);
}

int CutilIListSelectItem(CListCtrl* pList, int nItem, int nSelect) {
    return CutilIListSelectItem(*pList, nItem, nSelect);
}
