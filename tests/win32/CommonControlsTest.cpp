// The list view and tree view. The same source runs against the Linux layer and, in the Windows
// build under Wine, against the real controls.
//
// Wine's controls leave a text they cut to cchTextMax unterminated, where Windows cuts it to
// cchTextMax - 1 bytes and terminates it; the cut cases run against the Linux layer only.
#include "FailingAllocator.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

constexpr bool kRealControls = BWCORE_TEST_REAL_WIN32;
constexpr UINT kAll = 0xFFFFFFFF;

template <typename W, typename L>
LRESULT Send(HWND hwnd, UINT msg, W wParam, L lParam) {
    return SendMessageA(hwnd, msg, (WPARAM)wParam, (LPARAM)lParam);
}

LVITEMA ListItem(UINT mask, int index, int subItem, const char* text, int size = 0) {
    LVITEMA item = {};
    item.mask = mask;
    item.iItem = index;
    item.iSubItem = subItem;
    item.pszText = const_cast<LPSTR>(text);
    item.cchTextMax = size;
    return item;
}

TVITEMA TreeItem(UINT mask, HTREEITEM handle, UINT state = 0, UINT stateMask = 0) {
    TVITEMA item = {};
    item.mask = mask;
    item.hItem = handle;
    item.state = state;
    item.stateMask = stateMask;
    return item;
}

class Controls : public ::testing::Test {
protected:
    // Registering is idempotent and may race with itself.
    void SetUp() override {
        const INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES}, wrong = {4, 0};
        std::thread other(InitCommonControls);
        EXPECT_TRUE(InitCommonControlsEx(&init));
        EXPECT_FALSE(InitCommonControlsEx(&wrong));
        other.join();
    }
    void TearDown() override {
        for (HWND hwnd : m_windows)
            DestroyWindow(hwnd);
    }
    HWND Create(LPCSTR cls, DWORD style) {
        return m_windows.emplace_back(
            CreateWindowExA(0, cls, "", style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
    }
    HWND List(DWORD style = 0, int items = 0) {
        HWND list = Create(WC_LISTVIEWA, LVS_REPORT | style);
        for (int i = 0; i < items; ++i)
            Insert(list, i, "item");
        return list;
    }
    static int Insert(HWND list, int index, const char* text, int subItem = 0) {
        LVITEMA item = ListItem(LVIF_TEXT, index, subItem, text);
        return (int)Send(list, LVM_INSERTITEMA, 0, &item);
    }
    static BOOL SetState(HWND list, int index, UINT state, UINT mask) {
        LVITEMA item = ListItem(0, 0, 0, nullptr);
        item.state = state;
        item.stateMask = mask;
        return (BOOL)Send(list, LVM_SETITEMSTATE, index, &item);
    }
    static std::vector<UINT> States(HWND list) {
        std::vector<UINT> states;
        for (int i = 0; i < (int)Send(list, LVM_GETITEMCOUNT, 0, 0); ++i)
            states.push_back((UINT)Send(list, LVM_GETITEMSTATE, i, kAll));
        return states;
    }
    HWND Tree() { return Create(WC_TREEVIEWA, 0); }
    static HTREEITEM Insert(HWND tree, HTREEITEM parent, HTREEITEM after, const char* text) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPSTR>(text);
        return (HTREEITEM)Send(tree, TVM_INSERTITEMA, 0, &insert);
    }
    static HTREEITEM Next(HWND tree, UINT code, HTREEITEM item) {
        return (HTREEITEM)Send(tree, TVM_GETNEXTITEM, code, item);
    }
    static std::string Children(HWND tree, HTREEITEM parent) {
        std::string texts;
        for (HTREEITEM c = Next(tree, TVGN_CHILD, parent); c; c = Next(tree, TVGN_NEXT, c))
            texts += Text(tree, c) + " ";
        return texts;
    }
    static std::string Text(HWND tree, HTREEITEM handle, int size = 64) {
        char buffer[64] = "sentinel";
        TVITEMA item = TreeItem(TVIF_TEXT | TVIF_HANDLE, handle);
        item.pszText = buffer;
        item.cchTextMax = size;
        return Send(tree, TVM_GETITEMA, 0, &item) ? buffer : "<failed>";
    }
    static TVITEMA Get(HWND tree, HTREEITEM handle, UINT mask) {
        TVITEMA item = TreeItem(mask | TVIF_HANDLE, handle, kAll);
        item.cChildren = -1;
        EXPECT_TRUE(Send(tree, TVM_GETITEMA, 0, &item));
        return item;
    }

    std::vector<HWND> m_windows;
};

// Each step sets a state on three items (index -1: all of them) and shows every item's state.
TEST_F(Controls, ListStatesChangeUnderTheirMaskAndKeepOneFocus) {
    const struct {
        DWORD style;
        int index;
        UINT state, mask;
        BOOL result;
        std::vector<UINT> states;
    } steps[] = {
        {0, 1, 0x0F0F, LVIS_SELECTED | LVIS_DROPHILITED, TRUE, {0, 0xA, 0}},
        {0, -1, LVIS_SELECTED, LVIS_SELECTED, TRUE, {2, 0xA, 2}},
        {0, -1, LVIS_FOCUSED, LVIS_FOCUSED, FALSE, {2, 0xA, 2}},
        {0, 0, LVIS_FOCUSED, LVIS_FOCUSED, TRUE, {3, 0xA, 2}},
        {0, 2, LVIS_FOCUSED, LVIS_FOCUSED, TRUE, {2, 0xA, 3}},
        {0, 3, LVIS_SELECTED, LVIS_SELECTED, FALSE, {2, 0xA, 3}},
        {0, 1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK, TRUE, {2, 0x200A, 3}},
        {0, -1, 0, 0xFFFF, TRUE, {0, 0, 0}},
        {LVS_SINGLESEL, 0, LVIS_SELECTED, LVIS_SELECTED, TRUE, {2, 0, 0}},
        {LVS_SINGLESEL, 1, LVIS_SELECTED, LVIS_SELECTED, TRUE, {0, 2, 0}},
        {LVS_SINGLESEL, -1, LVIS_SELECTED, LVIS_SELECTED, FALSE, {0, 2, 0}},
        {LVS_SINGLESEL, -1, 0, LVIS_SELECTED, TRUE, {0, 0, 0}},
    };
    HWND lists[] = {List(0, 3), List(LVS_SINGLESEL, 3)};
    for (const auto& step : steps) {
        HWND list = lists[step.style == 0 ? 0 : 1];
        EXPECT_EQ(SetState(list, step.index, step.state, step.mask), step.result) << &step - steps;
        EXPECT_EQ(States(list), step.states) << &step - steps;
    }
    EXPECT_EQ(Send(lists[0], LVM_GETITEMSTATE, 3, kAll), 0);
}

TEST_F(Controls, CheckBoxesGiveEveryItemAStateImage) {
    HWND list = List(0, 2);
    SetState(list, 1, INDEXTOSTATEIMAGEMASK(2) | LVIS_SELECTED, kAll);
    EXPECT_EQ(Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES), 0);
    EXPECT_EQ(States(list), (std::vector<UINT>{0x1000, 0x1002}));
    EXPECT_EQ(Send(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED);
    Insert(list, 0, "later");
    EXPECT_EQ(States(list), (std::vector<UINT>{0x1000, 0x1000, 0x1002}));
    SetState(list, 0, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    SetState(list, 1, 0, LVIS_STATEIMAGEMASK);
    // The mask in wParam limits the change; clearing the style keeps the state images.
    EXPECT_EQ(Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_GRIDLINES),
              LVS_EX_CHECKBOXES);
    EXPECT_EQ(Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0);
    EXPECT_EQ(States(list), (std::vector<UINT>{0x2000, 0, 0x1002}));
}

TEST_F(Controls, ListInsertsClampAndBadIndexesFail) {
    HWND list = List();
    const struct {
        int index, subItem, result;
    } inserts[] = {{5, 0, 0}, {-1, 0, -1}, {0, 1, -1}, {100, 0, 1}, {0, 0, 0}, {2, 0, 2}};
    for (const auto& insert : inserts)
        EXPECT_EQ(Insert(list, insert.index, "item", insert.subItem), insert.result);
    LVCOLUMNA column = {};
    EXPECT_EQ(Send(list, LVM_INSERTCOLUMNA, 5, &column), 0);
    EXPECT_EQ(Send(list, LVM_INSERTCOLUMNA, 1, &column), 1);
    EXPECT_EQ(Send(list, LVM_INSERTCOLUMNA, -1, &column), -1);
    LVITEMA set = ListItem(0, 0, 0, "Hello");
    EXPECT_TRUE(Send(list, LVM_SETITEMTEXTA, 0, &set));
    set.iSubItem = 1;
    EXPECT_TRUE(Send(list, LVM_SETITEMTEXTA, 0, &set));
    set.iSubItem = 2; // no such column
    EXPECT_FALSE(Send(list, LVM_SETITEMTEXTA, 0, &set));
    EXPECT_FALSE(Send(list, LVM_SETITEMTEXTA, 4, &set));
    set = ListItem(LVIF_TEXT, 4, 0, "x");
    EXPECT_FALSE(Send(list, LVM_SETITEMA, 0, &set));
    EXPECT_FALSE(Send(list, LVM_GETITEMA, 0, &set));

    const struct {
        int index, subItem, size, result;
        const char* text;
    } reads[] = {{0, 0, 6, 5, "Hello"},     {0, 1, 32, 5, "Hello"}, {0, 3, 32, 0, ""},
                 {4, 0, 32, 0, "sentinel"}, {0, 0, 5, 4, "Hell"},   {0, 0, 1, 0, ""}};
    for (const auto& read : reads) {
        if (kRealControls && read.size < 6)
            continue;
        char buffer[32] = "sentinel";
        LVITEMA item = ListItem(0, 0, read.subItem, buffer, read.size);
        EXPECT_EQ(Send(list, LVM_GETITEMTEXTA, read.index, &item), read.result) << &read - reads;
        EXPECT_STREQ(buffer, read.text) << &read - reads;
    }
}

TEST_F(Controls, ListGetNextItemSearchesAfterTheStart) {
    HWND list = List(0, 4);
    SetState(list, 0, LVIS_SELECTED, kAll);
    SetState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, kAll);
    const struct {
        int start;
        UINT flags;
        int result;
    } searches[] = {{-1, LVNI_SELECTED, 0}, {0, LVNI_SELECTED, 2}, {-1, LVNI_FOCUSED, 2},
                    {2, LVNI_FOCUSED, -1},  {-1, LVNI_ALL, 0},     {1, LVNI_ALL, 2},
                    {3, LVNI_ALL, -1},      {99, LVNI_ALL, -1},    {-2, LVNI_ALL, -1}};
    for (const auto& search : searches)
        EXPECT_EQ(Send(list, LVM_GETNEXTITEM, search.start, search.flags), search.result)
            << search.start << " " << search.flags;
    // The focus goes with its item; a deleted item's focus goes to the item in its place, or to
    // the last item.
    const struct {
        int deleted;
        BOOL result;
        int focus;
    } deletes[] = {{1, TRUE, 1}, {3, FALSE, 1}, {1, TRUE, 1}, {1, TRUE, 0}, {0, TRUE, -1}};
    for (const auto& d : deletes) {
        EXPECT_EQ(Send(list, LVM_DELETEITEM, d.deleted, 0), d.result);
        EXPECT_EQ(Send(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), d.focus);
    }
}

TEST_F(Controls, InsertsShortOfMemoryChangeNothing) {
    HWND list = List(), tree = Tree();
    UntilAllocationsSuffice([&] { return Insert(list, 0, "a long enough text to be allocated"); },
                            [&](int index) { return index == 0; },
                            [&](DWORD) { EXPECT_EQ(Send(list, LVM_GETITEMCOUNT, 0, 0), 0); });
    UntilAllocationsSuffice([&] { return Insert(tree, TVI_ROOT, TVI_LAST, "a long text, too"); },
                            [&](HTREEITEM item) { return item != nullptr; },
                            [&](DWORD) { EXPECT_EQ(Send(tree, TVM_GETCOUNT, 0, 0), 0); });
}

TEST_F(Controls, TreeInsertsFollowTheirPosition) {
    HWND tree = Tree();
    for (const char* text : {"B", "A", "C", "b", "ab"})
        Insert(tree, TVI_ROOT, TVI_SORT, text);
    EXPECT_EQ(Children(tree, TVI_ROOT), "A ab b B C ") << "letters first, then case";
    HTREEITEM b = Next(tree, TVGN_NEXT, Next(tree, TVGN_NEXT, Next(tree, TVGN_ROOT, nullptr)));
    HTREEITEM child = Insert(tree, b, TVI_LAST, "child");
    Insert(tree, nullptr, TVI_FIRST, "first");
    Insert(tree, TVI_ROOT, b, "after-b");
    Insert(tree, TVI_ROOT, child, "not-a-sibling");
    Insert(tree, TVI_ROOT, TVI_LAST, "last");
    EXPECT_EQ(Children(tree, nullptr), "first A ab b after-b B C not-a-sibling last ");
}

TEST_F(Controls, TreeWalksAndItemFields) {
    HWND tree = Tree();
    HTREEITEM a = Insert(tree, TVI_ROOT, TVI_LAST, "a"), b = Insert(tree, TVI_ROOT, TVI_LAST, "b");
    HTREEITEM k0 = Insert(tree, a, TVI_LAST, "k0"), k1 = Insert(tree, a, TVI_LAST, "k1");
    HTREEITEM g = Insert(tree, k1, TVI_LAST, "g");
    const struct {
        UINT code;
        HTREEITEM from, result;
    } walks[] = {
        {TVGN_ROOT, nullptr, a},   {TVGN_CHILD, nullptr, a},    {TVGN_CHILD, TVI_ROOT, a},
        {TVGN_PREVIOUS, k1, k0},   {TVGN_PREVIOUS, a, nullptr}, {TVGN_PARENT, g, k1},
        {TVGN_PARENT, a, nullptr}, {TVGN_CHILD, g, nullptr},    {TVGN_NEXT, TVI_ROOT, nullptr}};
    for (const auto& walk : walks)
        EXPECT_EQ(Next(tree, walk.code, walk.from), walk.result) << walk.code;
    TVITEMA item =
        TreeItem(TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN, k1, 0xFF, TVIS_BOLD);
    item.lParam = 42;
    EXPECT_TRUE(Send(tree, TVM_SETITEMA, 0, &item));
    EXPECT_EQ(Get(tree, k1, TVIF_STATE).state, UINT(TVIS_BOLD)) << "whole, with stateMask 0";
    EXPECT_EQ(Get(tree, k1, TVIF_PARAM).lParam, 42);
    EXPECT_EQ(Get(tree, k1, TVIF_CHILDREN).cChildren, 0) << "as set";
    EXPECT_EQ(Get(tree, a, TVIF_CHILDREN).cChildren, 1) << "counted";
    EXPECT_TRUE(kRealControls || Text(tree, k0, 2) == "k");
    // Selecting moves the selected state; expanding needs children.
    EXPECT_TRUE(Send(tree, TVM_SELECTITEM, TVGN_CARET, b));
    EXPECT_TRUE(Send(tree, TVM_SELECTITEM, TVGN_CARET, g));
    EXPECT_EQ(Get(tree, b, TVIF_STATE).state, 0u);
    EXPECT_EQ(Get(tree, g, TVIF_STATE).state, UINT(TVIS_SELECTED));
    EXPECT_FALSE(Send(tree, TVM_EXPAND, TVE_EXPAND, b));
    EXPECT_TRUE(Send(tree, TVM_EXPAND, TVE_COLLAPSE, a));
    EXPECT_FALSE(Send(tree, TVM_EXPAND, TVE_COLLAPSE, a));
    EXPECT_EQ(Get(tree, a, TVIF_STATE).state, UINT(TVIS_EXPANDEDONCE | TVIS_SELECTED));
}

TEST_F(Controls, TreeDeletesTakeChildrenAndForeignHandlesFail) {
    HWND tree = Tree(), other = Tree();
    HTREEITEM a = Insert(tree, TVI_ROOT, TVI_LAST, "a"), b = Insert(tree, TVI_ROOT, TVI_LAST, "b");
    HTREEITEM child = Insert(tree, a, TVI_LAST, "child");
    HTREEITEM grandchild = Insert(tree, child, TVI_LAST, "grandchild");
    Send(tree, TVM_SELECTITEM, TVGN_CARET, grandchild);
    EXPECT_TRUE(Send(tree, TVM_DELETEITEM, 0, a));
    EXPECT_EQ(Send(tree, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Next(tree, TVGN_CARET, nullptr), b) << "the selection moves to the next sibling";
    HTREEITEM foreign = Insert(other, TVI_ROOT, TVI_LAST, "foreign");
    for (HTREEITEM bad : {a, grandchild, foreign, (HTREEITEM)(ULONG_PTR)0x1234}) {
        TVITEMA item = TreeItem(TVIF_HANDLE | TVIF_PARAM, bad);
        // The real control reads another control's items.
        EXPECT_TRUE(bad == foreign || !Send(tree, TVM_GETITEMA, 0, &item));
        EXPECT_FALSE(Send(tree, TVM_SETITEMA, 0, &item));
        EXPECT_FALSE(Send(tree, TVM_DELETEITEM, 0, bad));
        EXPECT_FALSE(Send(tree, TVM_SELECTITEM, TVGN_CARET, bad));
        EXPECT_EQ(Insert(tree, bad, TVI_LAST, "x"), nullptr);
    }
    HTREEITEM again = Insert(tree, TVI_ROOT, TVI_LAST, "again");
    // Win32's handles are addresses, which come back.
    EXPECT_TRUE(kRealControls || (again != a && again != child && again != grandchild));
    EXPECT_TRUE(Send(tree, TVM_DELETEITEM, 0, TVI_ROOT));
    EXPECT_EQ(Send(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Next(tree, TVGN_CARET, nullptr), nullptr);
}

} // namespace
