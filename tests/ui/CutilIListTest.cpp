// The list and tree utilities against real controls: the headless ones on Linux, comctl32's under
// Wine. Every list case runs through both forms, by reference and by pointer.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The call, with L the control by reference and then by pointer.
#define FORMS(call)                                                                                \
    [](auto& L, CStringArray& arr) { return (void)arr, call; },                                    \
        [](auto L, CStringArray& arr) { return (void)arr, call; }

// Each case starts from the same four items, written as text, state & 3 (LVIS_FOCUSED 1,
// LVIS_SELECTED 2) and GetCheck ('-' for -1, no state image): "a11 b20 B0- c21", and from an
// array holding "x" and "y"; by default neither changes.
struct ListCase {
    int (*byReference)(CListCtrl&, CStringArray&);
    int (*byPointer)(CListCtrl*, CStringArray&);
    int result;
    const char* after = "a11 b20 B0- c21";
    const char* arr = "x|y";
};

// clang-format off
const ListCase kListCases[] = {
    {FORMS(CutilIListSelectItem(L, 2, 1) + CutilIListSelectItem(L, 1, 0)), 2, "a01 b00 B3- c21"},
    {FORMS(CutilIListIsItemSelected(L, 1) * 10 + CutilIListIsItemSelected(L, 0)), 10},
    {FORMS(CutilIListFindSelectedItem(L)), 1},
    {FORMS(CutilIListClearAllOthers(L, 2)), 1, "a01 b00 B3- c01"},
    {FORMS(CutilIListClearAllOthers(L, -1)), 1, "a01 b00 B0- c01"},
    {FORMS(CutilIListClearAllOthers(L, 4)), 1, "a01 b00 B0- c01"},
    {FORMS(CutilIListFindItem(L, CString("B")) * 10 + CutilIListFindItem(L, CString("d"))), 9},
    {FORMS(CutilIListGetCheckedItemList(L, arr)), 5, "a11 b20 B0- c21", "x|y|a|B|c"},
    {FORMS(CutilIListGetSelectedList(L, arr)), 4, "a11 b20 B0- c21", "x|y|b|c"},
    {FORMS(CutilIListCheckItem(L, 1, 1) + CutilIListCheckItem(L, 0, 0)), 2, "a10 b21 B0- c21"},
};
// clang-format on

// A hidden top-level window for the controls.
struct Parent : CWnd {
    Parent() { CreateEx(0, "Static", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
};
const RECT kRect = {0, 0, 200, 100};

TEST(CutilIList, BothFormsAgainstTheControl) {
    Parent parent;
    const char* const kTexts[] = {"a", "b", "B", "c"};
    const UINT kStates[] = {1 | INDEXTOSTATEIMAGEMASK(2), 2 | INDEXTOSTATEIMAGEMASK(1), 0,
                            2 | INDEXTOSTATEIMAGEMASK(2)};
    for (const ListCase& c : kListCases) {
        for (const bool byPointer : {false, true}) {
            SCOPED_TRACE(std::string(c.after) + (byPointer ? " (pointer)" : " (reference)"));
            CListCtrl list;
            ASSERT_TRUE(list.Create(LVS_REPORT, kRect, &parent, 1));
            list.SetExtendedStyle(LVS_EX_CHECKBOXES);
            for (int i = 0; i < 4; ++i) {
                list.InsertItem(i, kTexts[i]);
                list.SetItemState(i, kStates[i], 3 | LVIS_STATEIMAGEMASK);
            }
            CStringArray arr;
            arr.Add("x");
            arr.Add("y");
            EXPECT_EQ(c.result, byPointer ? c.byPointer(&list, arr) : c.byReference(list, arr));
            std::string after, joined = "x";
            for (int i = 0; i < 4; ++i)
                after += (i ? " " : "") + std::string(kTexts[i]) +
                         std::to_string(list.GetItemState(i, 3)) + "-01"[list.GetCheck(i) + 1];
            for (INT_PTR i = 1; i < arr.GetSize(); ++i)
                joined += "|" + std::string(arr[i]);
            EXPECT_EQ(c.after + std::string(" / ") + c.arr, after + " / " + joined);
        }
    }
}

TEST(CutilIList, EmptyListFindsNothingAndLeavesTheArray) {
    Parent parent;
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT, kRect, &parent, 1));
    CStringArray arr;
    arr.Add("x");
    EXPECT_EQ(-1, CutilIListFindItem(list, CString("")));
    EXPECT_EQ(-1, CutilIListFindSelectedItem(&list));
    EXPECT_EQ(1, CutilIListGetSelectedList(list, arr));
    EXPECT_EQ(1, CutilIListGetCheckedItemList(&list, arr));
}

TEST(CutilTreeFindChild, DirectChildrenOnlyInSiblingOrder) {
    Parent parent;
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(0, kRect, &parent, 2));
    HTREEITEM hParent = tree.InsertItem("Parent"), hEmpty = tree.InsertItem("Empty");
    HTREEITEM hAlpha = tree.InsertItem("alpha", hParent), hBeta = tree.InsertItem("Beta", hParent);
    tree.InsertItem("beta", hParent);
    tree.InsertItem("gamma", hAlpha);
    EXPECT_EQ(hBeta, CutilTreeFindChild(&tree, hParent, "BETA"));
    EXPECT_EQ(hEmpty, CutilTreeFindChild(&tree, TVI_ROOT, "empty"));
    EXPECT_EQ(nullptr, CutilTreeFindChild(&tree, hParent, "gamma"));
    EXPECT_EQ(nullptr, CutilTreeFindChild(&tree, hEmpty, ""));
}

} // namespace
