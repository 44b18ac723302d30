// The list view for Linux: items in a vector, each with its subitem texts, and the columns.
//
// States are kept whole per item (the focus and selection are bits of it, as LVM_GETITEMSTATE
// shows them), so the rules that tie items together are applied where a bit is gained: a
// focused item takes the focus from the others, and in an LVS_SINGLESEL control a selected item
// takes the selection.
#include "common_controls.h"

#include <bwcore/win32/commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ListItem {
    std::string text;
    std::vector<std::string> subitems; // texts of subitems 1, 2, ...; missing ones read as ""
    UINT state = 0;
    int image = 0;
    int indent = 0;
    LPARAM param = 0;
};

struct ListColumn {
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::string text;
    int subItem = 0;
    int image = 0;
    int order = 0;
};

// The state bits that LVM_GETNEXTITEM can ask for.
constexpr UINT kSearchStates = LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED;

class ListView {
public:
    explicit ListView(HWND hwnd) : hwnd_(hwnd) {}

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT FailureValue(UINT msg) {
        return msg == LVM_INSERTITEMA || msg == LVM_INSERTCOLUMNA ? -1 : 0;
    }

private:
    bool ValidItem(WPARAM index) const { return static_cast<size_t>(index) < items_.size(); }
    bool ValidItem(int index) const {
        return index >= 0 && static_cast<size_t>(index) < items_.size();
    }
    bool ValidColumn(WPARAM index) const { return index < columns_.size(); }
    // Subitem 0 is the item itself; the others need their column.
    bool ValidSubitem(int subItem) const {
        return subItem == 0 || (subItem > 0 && static_cast<size_t>(subItem) < columns_.size());
    }
    bool SingleSelection() const { return (GetWindowLongA(hwnd_, GWL_STYLE) & LVS_SINGLESEL) != 0; }

    const std::string& Text(const ListItem& item, int subItem) const;
    static void StoreText(ListItem& item, int subItem, LPCSTR text);
    static std::string& Subitem(ListItem& item, size_t subItem);
    void ChangeState(size_t index, UINT state, UINT mask);

    LRESULT InsertItem(const LVITEMA* item);
    LRESULT SetItem(const LVITEMA* item);
    LRESULT GetItem(LVITEMA* item) const;
    LRESULT SetItemText(WPARAM index, const LVITEMA* item);
    LRESULT GetItemText(WPARAM index, LVITEMA* item) const;
    LRESULT SetItemState(WPARAM index, const LVITEMA* item);
    LRESULT GetNextItem(WPARAM start, LPARAM flags) const;
    LRESULT DeleteItem(WPARAM index);
    LRESULT SetExtendedStyle(WPARAM mask, LPARAM style);

    LRESULT InsertColumn(WPARAM index, const LVCOLUMNA* column);
    LRESULT SetColumn(WPARAM index, const LVCOLUMNA* column);
    LRESULT GetColumn(WPARAM index, LVCOLUMNA* column) const;
    LRESULT DeleteColumn(WPARAM index);

    HWND hwnd_;
    std::vector<ListItem> items_;
    std::vector<ListColumn> columns_;
    DWORD exStyle_ = 0;
    HIMAGELIST imageLists_[3] = {};
};

const std::string& ListView::Text(const ListItem& item, int subItem) const {
    static const std::string empty;
    if (subItem == 0)
        return item.text;
    const size_t slot = static_cast<size_t>(subItem) - 1;
    return slot < item.subitems.size() ? item.subitems[slot] : empty;
}

// Sets the text of a subitem whose column exists.
void ListView::StoreText(ListItem& item, int subItem, LPCSTR text) {
    std::string& target = subItem == 0 ? item.text : Subitem(item, static_cast<size_t>(subItem));
    target = text != nullptr ? text : "";
}

std::string& ListView::Subitem(ListItem& item, size_t subItem) {
    if (subItem > item.subitems.size())
        item.subitems.resize(subItem);
    return item.subitems[subItem - 1];
}

void ListView::ChangeState(size_t index, UINT state, UINT mask) {
    UINT& current = items_[index].state;
    const UINT gained = ~current & state & mask;
    current = (current & ~mask) | (state & mask);
    UINT taken = gained & LVIS_FOCUSED;
    if ((gained & LVIS_SELECTED) != 0 && SingleSelection())
        taken |= LVIS_SELECTED;
    if (taken == 0)
        return;
    for (size_t other = 0; other < items_.size(); ++other)
        if (other != index)
            items_[other].state &= ~taken;
}

LRESULT ListView::InsertItem(const LVITEMA* item) {
    if (item == nullptr || item->iItem < 0 || item->iSubItem != 0)
        return -1;
    ListItem added;
    if ((item->mask & LVIF_TEXT) != 0 && item->pszText != nullptr)
        added.text = item->pszText;
    if ((item->mask & LVIF_IMAGE) != 0)
        added.image = item->iImage;
    if ((item->mask & LVIF_INDENT) != 0)
        added.indent = item->iIndent;
    if ((item->mask & LVIF_PARAM) != 0)
        added.param = item->lParam;
    const size_t index = std::min(static_cast<size_t>(item->iItem), items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(added));
    if ((item->mask & LVIF_STATE) != 0)
        ChangeState(index, item->state, item->stateMask);
    // With check boxes every item starts unchecked, whatever state image the caller gave.
    if ((exStyle_ & LVS_EX_CHECKBOXES) != 0)
        ChangeState(index, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    return static_cast<LRESULT>(index);
}

LRESULT ListView::SetItem(const LVITEMA* item) {
    if (item == nullptr || !ValidItem(item->iItem) || !ValidSubitem(item->iSubItem))
        return FALSE;
    ListItem& target = items_[static_cast<size_t>(item->iItem)];
    if ((item->mask & LVIF_TEXT) != 0)
        StoreText(target, item->iSubItem, item->pszText);
    // The other fields belong to the item, not to its subitems.
    if (item->iSubItem != 0)
        return TRUE;
    if ((item->mask & LVIF_IMAGE) != 0)
        target.image = item->iImage;
    if ((item->mask & LVIF_INDENT) != 0)
        target.indent = item->iIndent;
    if ((item->mask & LVIF_PARAM) != 0)
        target.param = item->lParam;
    if ((item->mask & LVIF_STATE) != 0)
        ChangeState(static_cast<size_t>(item->iItem), item->state, item->stateMask);
    return TRUE;
}

LRESULT ListView::GetItem(LVITEMA* item) const {
    if (item == nullptr || !ValidItem(item->iItem))
        return FALSE;
    const ListItem& source = items_[static_cast<size_t>(item->iItem)];
    if ((item->mask & LVIF_TEXT) != 0)
        bwcompat::CopyControlText(Text(source, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->iSubItem != 0)
        return TRUE;
    if ((item->mask & LVIF_IMAGE) != 0)
        item->iImage = source.image;
    if ((item->mask & LVIF_INDENT) != 0)
        item->iIndent = source.indent;
    if ((item->mask & LVIF_PARAM) != 0)
        item->lParam = source.param;
    if ((item->mask & LVIF_STATE) != 0)
        item->state = source.state & item->stateMask;
    return TRUE;
}

LRESULT ListView::SetItemText(WPARAM index, const LVITEMA* item) {
    if (item == nullptr || !ValidItem(index) || !ValidSubitem(item->iSubItem))
        return FALSE;
    StoreText(items_[index], item->iSubItem, item->pszText);
    return TRUE;
}

LRESULT ListView::GetItemText(WPARAM index, LVITEMA* item) const {
    if (item == nullptr || !ValidItem(index))
        return 0;
    return bwcompat::CopyControlText(Text(items_[index], item->iSubItem), item->pszText,
                                     item->cchTextMax);
}

LRESULT ListView::SetItemState(WPARAM index, const LVITEMA* item) {
    if (item == nullptr)
        return FALSE;
    if (static_cast<int>(index) != -1) {
        if (!ValidItem(index))
            return FALSE;
        ChangeState(index, item->state, item->stateMask);
        return TRUE;
    }
    // Every item at once: never the focus, nor the selection of a single-selection control.
    const UINT gained = item->state & item->stateMask;
    if ((gained & LVIS_FOCUSED) != 0 || ((gained & LVIS_SELECTED) != 0 && SingleSelection()))
        return FALSE;
    for (size_t i = 0; i < items_.size(); ++i)
        ChangeState(i, item->state, item->stateMask);
    return TRUE;
}

// The first item after `start` (-1: from the first item) that has every state bit the flags
// ask for. The flags' directions (LVNI_ABOVE ...) are not offered: the search runs by index.
LRESULT ListView::GetNextItem(WPARAM start, LPARAM flags) const {
    const int from = static_cast<int>(start);
    if (from < -1 || from >= static_cast<int>(items_.size()))
        return -1;
    const UINT wanted = static_cast<UINT>(flags) & kSearchStates;
    for (size_t i = static_cast<size_t>(from + 1); i < items_.size(); ++i)
        if ((items_[i].state & wanted) == wanted)
            return static_cast<LRESULT>(i);
    return -1;
}

// A deleted item's focus goes to the item that takes its place, or to the new last item.
LRESULT ListView::DeleteItem(WPARAM index) {
    if (!ValidItem(index))
        return FALSE;
    const bool focused = (items_[index].state & LVIS_FOCUSED) != 0;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    if (focused && !items_.empty())
        items_[std::min(static_cast<size_t>(index), items_.size() - 1)].state |= LVIS_FOCUSED;
    return TRUE;
}

// Turning check boxes on makes every item unchecked; turning them off leaves the state images
// as they are, as the real control does.
LRESULT ListView::SetExtendedStyle(WPARAM mask, LPARAM style) {
    const DWORD previous = exStyle_;
    const DWORD changed = mask != 0 ? static_cast<DWORD>(mask) : 0xFFFFFFFFu;
    exStyle_ = (exStyle_ & ~changed) | (static_cast<DWORD>(style) & changed);
    if ((~previous & exStyle_ & LVS_EX_CHECKBOXES) != 0)
        for (size_t i = 0; i < items_.size(); ++i)
            ChangeState(i, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    return static_cast<LRESULT>(previous);
}

LRESULT ListView::InsertColumn(WPARAM index, const LVCOLUMNA* column) {
    if (column == nullptr || static_cast<int>(index) < 0)
        return -1;
    ListColumn added;
    if ((column->mask & LVCF_FMT) != 0)
        added.fmt = column->fmt;
    if ((column->mask & LVCF_WIDTH) != 0)
        added.cx = column->cx;
    if ((column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr)
        added.text = column->pszText;
    if ((column->mask & LVCF_SUBITEM) != 0)
        added.subItem = column->iSubItem;
    if ((column->mask & LVCF_IMAGE) != 0)
        added.image = column->iImage;
    if ((column->mask & LVCF_ORDER) != 0)
        added.order = column->iOrder;
    const size_t at = std::min(static_cast<size_t>(index), columns_.size());
    // The subitems from the new column on move one column right; the item's own text stays.
    const size_t slot = at == 0 ? 0 : at - 1;
    for (ListItem& item : items_)
        if (slot < item.subitems.size())
            item.subitems.insert(item.subitems.begin() + static_cast<std::ptrdiff_t>(slot), "");
    columns_.insert(columns_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    return static_cast<LRESULT>(at);
}

LRESULT ListView::SetColumn(WPARAM index, const LVCOLUMNA* column) {
    if (column == nullptr || !ValidColumn(index))
        return FALSE;
    ListColumn& target = columns_[index];
    if ((column->mask & LVCF_TEXT) != 0)
        target.text = column->pszText != nullptr ? column->pszText : "";
    if ((column->mask & LVCF_FMT) != 0)
        target.fmt = column->fmt;
    if ((column->mask & LVCF_WIDTH) != 0)
        target.cx = column->cx;
    if ((column->mask & LVCF_SUBITEM) != 0)
        target.subItem = column->iSubItem;
    if ((column->mask & LVCF_IMAGE) != 0)
        target.image = column->iImage;
    if ((column->mask & LVCF_ORDER) != 0)
        target.order = column->iOrder;
    return TRUE;
}

LRESULT ListView::GetColumn(WPARAM index, LVCOLUMNA* column) const {
    if (column == nullptr || !ValidColumn(index))
        return FALSE;
    const ListColumn& source = columns_[index];
    if ((column->mask & LVCF_TEXT) != 0)
        bwcompat::CopyControlText(source.text, column->pszText, column->cchTextMax);
    if ((column->mask & LVCF_FMT) != 0)
        column->fmt = source.fmt;
    if ((column->mask & LVCF_WIDTH) != 0)
        column->cx = source.cx;
    if ((column->mask & LVCF_SUBITEM) != 0)
        column->iSubItem = source.subItem;
    if ((column->mask & LVCF_IMAGE) != 0)
        column->iImage = source.image;
    if ((column->mask & LVCF_ORDER) != 0)
        column->iOrder = source.order;
    return TRUE;
}

// Deleting a column after the first takes its subitem texts with it; the first column's texts
// are the items' own and stay.
LRESULT ListView::DeleteColumn(WPARAM index) {
    if (!ValidColumn(index))
        return FALSE;
    columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(index));
    if (index == 0)
        return TRUE;
    for (ListItem& item : items_)
        if (index - 1 < item.subitems.size())
            item.subitems.erase(item.subitems.begin() + static_cast<std::ptrdiff_t>(index - 1));
    return TRUE;
}

LRESULT ListView::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETITEMCOUNT:
        return static_cast<LRESULT>(items_.size());
    case LVM_INSERTITEMA:
        return InsertItem(reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_SETITEMA:
        return SetItem(reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMA:
        return GetItem(reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMTEXTA:
        return SetItemText(wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMTEXTA:
        return GetItemText(wParam, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMSTATE:
        return SetItemState(wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE:
        return ValidItem(wParam) ? items_[wParam].state & static_cast<UINT>(lParam) : 0;
    case LVM_GETNEXTITEM:
        return GetNextItem(wParam, lParam);
    case LVM_GETSELECTEDCOUNT: {
        LRESULT count = 0;
        for (const ListItem& item : items_)
            count += (item.state & LVIS_SELECTED) != 0 ? 1 : 0;
        return count;
    }
    case LVM_DELETEITEM:
        return DeleteItem(wParam);
    case LVM_DELETEALLITEMS:
        items_.clear();
        return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return SetExtendedStyle(wParam, lParam);
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(exStyle_);
    case LVM_INSERTCOLUMNA:
        return InsertColumn(wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA:
        return SetColumn(wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_GETCOLUMNA:
        return GetColumn(wParam, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(wParam);
    case LVM_GETCOLUMNWIDTH:
        return ValidColumn(wParam) ? columns_[wParam].cx : 0;
    case LVM_SETCOLUMNWIDTH:
        if (!ValidColumn(wParam))
            return FALSE;
        // Nothing is drawn, so there is no text width to fit: the automatic widths keep the
        // column's width.
        if (static_cast<int>(lParam) != LVSCW_AUTOSIZE &&
            static_cast<int>(lParam) != LVSCW_AUTOSIZE_USEHEADER)
            columns_[wParam].cx = static_cast<int>(lParam);
        return TRUE;
    case LVM_SETIMAGELIST: {
        if (wParam > LVSIL_STATE)
            return 0;
        HIMAGELIST previous = imageLists_[wParam];
        imageLists_[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETIMAGELIST:
        return wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(imageLists_[wParam]) : 0;
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

} // namespace

namespace bwcompat {

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ListView>(hwnd, msg, wParam, lParam);
}

} // namespace bwcompat
