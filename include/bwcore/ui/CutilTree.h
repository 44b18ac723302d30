// Helpers for tree controls.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/export.h>

// The first direct child of hParent, in sibling order, whose text equals strName
// case-insensitively; null when there is none. Only the children are looked at, walked with
// TVM_GETNEXTITEM (TVGN_CHILD on the parent, then TVGN_NEXT), not their descendants. pTree must
// name a control.
BWCORE_API HTREEITEM CutilTreeFindChild(CTreeCtrl* pTree, HTREEITEM hParent,
                                        const CString& strName);
