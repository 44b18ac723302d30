// Helpers for report-style list controls.
//
// The item count is what LVM_GETITEMCOUNT sent to the control's window answers; an item is
// selected when LVM_GETITEMSTATE under the mask LVIS_SELECTED answers non-zero. Selecting sets
// LVIS_SELECTED | LVIS_FOCUSED under that same mask of both bits and deselecting clears both, so
// that the focus goes with the selection. An item's text is its first column's, and texts compare
// case-insensitively (CompareNoCase). Check boxes are CListCtrl::SetCheck and GetCheck.
//
// Each function comes in two forms, the control by reference and by pointer; they behave alike,
// and the pointer form does not check for null (the pointer must name a control).
#pragma once

#include <bwcore/afx.h>
#include <bwcore/export.h>

// SetCheck(nItem, nCheck); returns 1.
BWCORE_API int CutilIListCheckItem(CListCtrl& list, int nItem, int nCheck);
BWCORE_API int CutilIListCheckItem(CListCtrl* pList, int nItem, int nCheck);

// Deselects every item but nItem, in ascending order, then selects and focuses nItem when it is 0
// or more; -1 (and an index past the last item) leaves nothing selected. Returns 1.
BWCORE_API int CutilIListClearAllOthers(CListCtrl& list, int nItem);
BWCORE_API int CutilIListClearAllOthers(CListCtrl* pList, int nItem);

// The index of the first item whose text equals strText case-insensitively; -1 when none does.
BWCORE_API int CutilIListFindItem(CListCtrl& list, const CString& strText);
BWCORE_API int CutilIListFindItem(CListCtrl* pList, const CString& strText);

// The index of the first selected item; -1 when none is selected.
BWCORE_API int CutilIListFindSelectedItem(CListCtrl& list);
BWCORE_API int CutilIListFindSelectedItem(CListCtrl* pList);

// Appends the text of every item whose GetCheck is non-zero, in item order (an item without a
// state image, -1, counts as checked); the array's element count afterwards, earlier elements
// included.
BWCORE_API int CutilIListGetCheckedItemList(CListCtrl& list, CStringArray& arr);
BWCORE_API int CutilIListGetCheckedItemList(CListCtrl* pList, CStringArray& arr);

// Appends the text of every selected item, in item order; the array's element count afterwards.
BWCORE_API int CutilIListGetSelectedList(CListCtrl& list, CStringArray& arr);
BWCORE_API int CutilIListGetSelectedList(CListCtrl* pList, CStringArray& arr);

// 1 when the item is selected, else 0.
BWCORE_API int CutilIListIsItemSelected(CListCtrl& list, int nItem);
BWCORE_API int CutilIListIsItemSelected(CListCtrl* pList, int nItem);

// Selects and focuses the item (nSelect non-zero) or deselects it, leaving the others alone;
// returns 1.
BWCORE_API int CutilIListSelectItem(CListCtrl& list, int nItem, int nSelect);
BWCORE_API int CutilIListSelectItem(CListCtrl* pList, int nItem, int nSelect);
