#include <bwcore/ui/CutilTree.h>

#include <bwcore/platform.h>

HTREEITEM CutilTreeFindChild(CTreeCtrl* pTree, HTREEITEM hParent, const CString& strName) {
    for (HTREEITEM hChild = pTree->GetNextItem(hParent, TVGN_CHILD); hChild != nullptr;
         hChild = pTree->GetNextItem(hChild, TVGN_NEXT)) {
        if (pTree->GetItemText(hChild).CompareNoCase(strName) == 0)
            return hChild;
    }
    return nullptr;
}
