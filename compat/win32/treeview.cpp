// The tree view for Linux: items linked to their parent and siblings under a hidden root, and a
// table from handles to items, through which every handle a caller gives is looked up.
//
// Handles are numbers from one counter for the whole process, so that a handle is never reused,
// nor valid in another control than its own.
#include "common_controls.h"

#include <bwcore/win32/commctrl.h>
#include <bwcore/win32/strings.h>

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Far from zero and from TVI_ROOT ... TVI_SORT at the top of the address range.
std::atomic<uintptr_t> next_handle{0x70000000};

// cChildren as kept: "count the children" until a caller sets a count.
constexpr int kCountChildren = -2;

struct TreeItem {
    HTREEITEM handle = nullptr;
    TreeItem* parent = nullptr;
    TreeItem* previous = nullptr;
    TreeItem* next = nullptr;
    TreeItem* firstChild = nullptr;
    TreeItem* lastChild = nullptr;
    std::string text;
    UINT state = 0;
    int image = 0;
    int selectedImage = 0;
    int children = kCountChildren;
    LPARAM param = 0;
};

class TreeView {
public:
    explicit TreeView(HWND hwnd) : hwnd_(hwnd) {}

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT FailureValue(UINT) { return 0; }

private:
    TreeItem* Find(HTREEITEM handle) const;
    HTREEITEM HandleOf(const TreeItem* item) const {
        return item != nullptr ? item->handle : nullptr;
    }
    bool IsRoot(const TreeItem* item) const { return item == &root_; }
    static int Children(const TreeItem& item);
    bool IsAncestor(const TreeItem* item, const TreeItem* descendant) const;

    void Link(TreeItem* item, TreeItem* parent, TreeItem* after);
    void Unlink(TreeItem* item);
    void Forget(TreeItem* item);
    void Select(TreeItem* item);

    LRESULT InsertItem(const TVINSERTSTRUCTA* insert);
    LRESULT DeleteItem(HTREEITEM handle);
    LRESULT GetNextItem(WPARAM code, HTREEITEM handle) const;
    LRESULT GetItem(TVITEMA* item) const;
    LRESULT SetItem(const TVITEMA* item);
    LRESULT SelectItem(WPARAM code, HTREEITEM handle);
    LRESULT Expand(WPARAM code, HTREEITEM handle);

    HWND hwnd_;
    TreeItem root_;
    std::unordered_map<HTREEITEM, std::unique_ptr<TreeItem>> items_;
    TreeItem* caret_ = nullptr;
    HIMAGELIST imageLists_[3] = {};
};

TreeItem* TreeView::Find(HTREEITEM handle) const {
    auto found = items_.find(handle);
    return found != items_.end() ? found->second.get() : nullptr;
}

int TreeView::Children(const TreeItem& item) {
    if (item.children != kCountChildren)
        return item.children;
    return item.firstChild != nullptr ? 1 : 0;
}

bool TreeView::IsAncestor(const TreeItem* item, const TreeItem* descendant) const {
    if (descendant == nullptr)
        return false;
    for (const TreeItem* above = descendant->parent; !IsRoot(above); above = above->parent)
        if (above == item)
            return true;
    return false;
}

// Links the item under the parent after `after`, or first when `after` is null.
void TreeView::Link(TreeItem* item, TreeItem* parent, TreeItem* after) {
    item->parent = parent;
    item->previous = after;
    item->next = after != nullptr ? after->next : parent->firstChild;
    (item->previous != nullptr ? item->previous->next : parent->firstChild) = item;
    (item->next != nullptr ? item->next->previous : parent->lastChild) = item;
}

void TreeView::Unlink(TreeItem* item) {
    TreeItem* parent = item->parent;
    (item->previous != nullptr ? item->previous->next : parent->firstChild) = item->next;
    (item->next != nullptr ? item->next->previous : parent->lastChild) = item->previous;
}

// Drops the item and its descendants from the table, which frees them.
void TreeView::Forget(TreeItem* item) {
    for (TreeItem* child = item->firstChild; child != nullptr;) {
        TreeItem* following = child->next;
        Forget(child);
        child = following;
    }
    items_.erase(item->handle);
}

// Moves the selection; selecting an item expands its ancestors, so that it could be seen.
void TreeView::Select(TreeItem* item) {
    if (caret_ != nullptr)
        caret_->state &= ~TVIS_SELECTED;
    caret_ = item;
    if (item == nullptr)
        return;
    item->state |= TVIS_SELECTED;
    for (TreeItem* above = item->parent; !IsRoot(above); above = above->parent)
        above->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
}

LRESULT TreeView::InsertItem(const TVINSERTSTRUCTA* insert) {
    if (insert == nullptr)
        return 0;
    TreeItem* parent = &root_;
    if (insert->hParent != nullptr && insert->hParent != TVI_ROOT) {
        parent = Find(insert->hParent);
        if (parent == nullptr)
            return 0;
    }
    const TVITEMA& fields = insert->item;
    auto added = std::make_unique<TreeItem>();
    if ((fields.mask & TVIF_TEXT) != 0 && fields.pszText != nullptr)
        added->text = fields.pszText;
    if ((fields.mask & TVIF_STATE) != 0)
        added->state = fields.state & fields.stateMask;
    if ((fields.mask & TVIF_IMAGE) != 0)
        added->image = fields.iImage;
    if ((fields.mask & TVIF_SELECTEDIMAGE) != 0)
        added->selectedImage = fields.iSelectedImage;
    if ((fields.mask & TVIF_CHILDREN) != 0)
        added->children = fields.cChildren;
    if ((fields.mask & TVIF_PARAM) != 0)
        added->param = fields.lParam;

    // After TVI_FIRST: first. After TVI_SORT: before the first sibling that sorts after it by
    // lstrcmpA, which orders letters before case (a, B, b), as the real control sorts; equal
    // texts keep their order of insertion. After a sibling: after it. Anything else, TVI_LAST
    // included: last.
    TreeItem* after = parent->lastChild;
    if (insert->hInsertAfter == TVI_FIRST) {
        after = nullptr;
    } else if (insert->hInsertAfter == TVI_SORT) {
        for (TreeItem* sibling = parent->firstChild; sibling != nullptr; sibling = sibling->next)
            if (lstrcmpA(added->text.c_str(), sibling->text.c_str()) < 0) {
                after = sibling->previous;
                break;
            }
    } else if (TreeItem* sibling = Find(insert->hInsertAfter);
               sibling != nullptr && sibling->parent == parent) {
        after = sibling;
    }

    added->handle = reinterpret_cast<HTREEITEM>(next_handle.fetch_add(1));
    TreeItem* item = added.get();
    items_.emplace(item->handle, std::move(added));
    Link(item, parent, after);
    return reinterpret_cast<LRESULT>(item->handle);
}

// When the selection goes with the deleted items, it moves to the deleted item's next sibling,
// or else to its parent, or else to its previous sibling.
LRESULT TreeView::DeleteItem(HTREEITEM handle) {
    if (handle == nullptr || handle == TVI_ROOT) {
        Select(nullptr);
        while (root_.firstChild != nullptr) {
            TreeItem* item = root_.firstChild;
            Unlink(item);
            Forget(item);
        }
        return TRUE;
    }
    TreeItem* item = Find(handle);
    if (item == nullptr)
        return FALSE;
    const bool selectionGoes = item == caret_ || IsAncestor(item, caret_);
    Unlink(item);
    if (selectionGoes) {
        caret_ = nullptr;
        if (item->next != nullptr)
            Select(item->next);
        else if (!IsRoot(item->parent))
            Select(item->parent);
        else
            Select(item->previous);
    }
    Forget(item);
    return TRUE;
}

LRESULT TreeView::GetNextItem(WPARAM code, HTREEITEM handle) const {
    if (code == TVGN_ROOT || (code == TVGN_CHILD && (handle == nullptr || handle == TVI_ROOT)))
        return reinterpret_cast<LRESULT>(HandleOf(root_.firstChild));
    if (code == TVGN_CARET)
        return reinterpret_cast<LRESULT>(HandleOf(caret_));
    const TreeItem* item = Find(handle);
    if (item == nullptr)
        return 0;
    switch (code) {
    case TVGN_NEXT:
        return reinterpret_cast<LRESULT>(HandleOf(item->next));
    case TVGN_PREVIOUS:
        return reinterpret_cast<LRESULT>(HandleOf(item->previous));
    case TVGN_PARENT:
        return reinterpret_cast<LRESULT>(IsRoot(item->parent) ? nullptr : item->parent->handle);
    case TVGN_CHILD:
        return reinterpret_cast<LRESULT>(HandleOf(item->firstChild));
    default:
        return 0;
    }
}

// The item is hItem whether or not the mask has TVIF_HANDLE. The state comes whole: stateMask
// plays no part in reading, as with the real control.
LRESULT TreeView::GetItem(TVITEMA* item) const {
    if (item == nullptr)
        return FALSE;
    const TreeItem* source = Find(item->hItem);
    if (source == nullptr)
        return FALSE;
    if ((item->mask & TVIF_TEXT) != 0)
        bwcompat::CopyControlText(source->text, item->pszText, item->cchTextMax);
    if ((item->mask & TVIF_STATE) != 0)
        item->state = source->state;
    if ((item->mask & TVIF_IMAGE) != 0)
        item->iImage = source->image;
    if ((item->mask & TVIF_SELECTEDIMAGE) != 0)
        item->iSelectedImage = source->selectedImage;
    if ((item->mask & TVIF_CHILDREN) != 0)
        item->cChildren = Children(*source);
    if ((item->mask & TVIF_PARAM) != 0)
        item->lParam = source->param;
    return TRUE;
}

LRESULT TreeView::SetItem(const TVITEMA* item) {
    if (item == nullptr)
        return FALSE;
    TreeItem* target = Find(item->hItem);
    if (target == nullptr)
        return FALSE;
    if ((item->mask & TVIF_TEXT) != 0)
        target->text = item->pszText != nullptr ? item->pszText : "";
    if ((item->mask & TVIF_STATE) != 0)
        target->state = (target->state & ~item->stateMask) | (item->state & item->stateMask);
    if ((item->mask & TVIF_IMAGE) != 0)
        target->image = item->iImage;
    if ((item->mask & TVIF_SELECTEDIMAGE) != 0)
        target->selectedImage = item->iSelectedImage;
    if ((item->mask & TVIF_CHILDREN) != 0)
        target->children = item->cChildren;
    if ((item->mask & TVIF_PARAM) != 0)
        target->param = item->lParam;
    return TRUE;
}

// Only the selection (TVGN_CARET) is kept; a null item selects none.
LRESULT TreeView::SelectItem(WPARAM code, HTREEITEM handle) {
    if (code != TVGN_CARET)
        return FALSE;
    TreeItem* item = nullptr;
    if (handle != nullptr) {
        item = Find(handle);
        if (item == nullptr)
            return FALSE;
    }
    Select(item);
    return TRUE;
}

// An item without children neither expands nor collapses. Expanding an expanded item succeeds;
// collapsing a collapsed one fails, as with the real control.
LRESULT TreeView::Expand(WPARAM code, HTREEITEM handle) {
    TreeItem* item = Find(handle);
    if (item == nullptr || Children(*item) == 0)
        return FALSE;
    const bool expanded = (item->state & TVIS_EXPANDED) != 0;
    const bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !expanded);
    if (expand) {
        item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        return TRUE;
    }
    if ((code != TVE_COLLAPSE && code != TVE_TOGGLE) || !expanded)
        return FALSE;
    item->state &= ~TVIS_EXPANDED;
    // A selection that is hidden now moves to the collapsed item.
    if (IsAncestor(item, caret_))
        Select(item);
    return TRUE;
}

LRESULT TreeView::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TVM_INSERTITEMA:
        return InsertItem(reinterpret_cast<const TVINSERTSTRUCTA*>(lParam));
    case TVM_DELETEITEM:
        return DeleteItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETNEXTITEM:
        return GetNextItem(wParam, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMA:
        return GetItem(reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
        return SetItem(reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(items_.size());
    case TVM_SELECTITEM:
        return SelectItem(wParam, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND:
        return Expand(wParam, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_SETIMAGELIST: {
        if (wParam != TVSIL_NORMAL && wParam != TVSIL_STATE)
            return 0;
        HIMAGELIST previous = imageLists_[wParam];
        imageLists_[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case TVM_GETIMAGELIST:
        return wParam == TVSIL_NORMAL || wParam == TVSIL_STATE
                   ? reinterpret_cast<LRESULT>(imageLists_[wParam])
                   : 0;
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

} // namespace

namespace bwcompat {

LRESULT CALLBACK TreeViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<TreeView>(hwnd, msg, wParam, lParam);
}

} // namespace bwcompat
