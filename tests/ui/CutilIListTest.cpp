// The list and tree utilities against real controls: the headless ones on Linux, comctl32's under
// Wine. Every list case runs through both forms, by reference and by pointer.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// The call, with L the control by reference and then by pointer.
#define FORMS(call)                                                                                \
    [](auto& L, CStringArray& arr) { return (void)arr, call; },                                    \
        [](auto L, CStringArray& arr) { return (void)arr, call; }

// Items as text, then state & 3 (LVIS_FOCUSED 1, LVIS_SELECTED 2), then GetCheck ('-' for -1):
// "a30 b0-" is item a selected, focused and unchecked, item b without a state image.
struct ListCase {
    const char *name, *before;
    int (*byReference)(CListCtrl&, CStringArray&);
    int (*byPointer)(CListCtrl*, CStringArray&);
    int result;
    const char* after;
    const char* arr = "x|y"; // the array holds "x" and "y" before the call
};

// clang-format off
const ListCase kListCases[] = {
    {"select focuses", "a00 b00 c00", FORMS(CutilIListSelectItem(L, 1, 1)), 1, "a00 b30 c00"},
    {"deselect unfocuses", "a20 b30 c20", FORMS(CutilIListSelectItem(L, 1, 0)), 1, "a20 b00 c20"},
    {"selected bit", "a10 b20",
     FORMS(CutilIListIsItemSelected(L, 1) * 10 + CutilIListIsItemSelected(L, 0)), 10, "a10 b20"},
    {"first selected", "a10 b00 c20 d20", FORMS(CutilIListFindSelectedItem(L)), 2,
     "a10 b00 c20 d20"},
    {"none selected", "a10", FORMS(CutilIListFindSelectedItem(L)), -1, "a10"},
    {"clear others", "a10 b20 c20", FORMS(CutilIListClearAllOthers(L, 1)), 1, "a00 b30 c00"},
    {"clear all, -1", "a20 b30", FORMS(CutilIListClearAllOthers(L, -1)), 1, "a00 b00"},
    {"clear all, past the end", "a30 b20", FORMS(CutilIListClearAllOthers(L, 2)), 1, "a00 b00"},
    {"find the first, any case", "a00 b00 B00", FORMS(CutilIListFindItem(L, CString("B"))), 1,
     "a00 b00 B00"},
    {"find in an empty list", "", FORMS(CutilIListFindItem(L, CString(""))), -1, ""},
    {"checked, none counts", "a01 b00 c0- d01", FORMS(CutilIListGetCheckedItemList(L, arr)), 5,
     "a01 b00 c0- d01", "x|y|a|c|d"},
    {"selected appended", "a10 b20 c20", FORMS(CutilIListGetSelectedList(L, arr)), 4,
     "a10 b20 c20", "x|y|b|c"},
    {"check", "a00 b00 c01", FORMS(CutilIListCheckItem(L, 1, 1) + CutilIListCheckItem(L, 2, 0)), 2,
     "a00 b01 c00"},
};
// clang-format on

// A hidden top-level window for the controls.
struct Parent : CWnd {
    Parent() { CreateEx(0, "Static", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
};
const RECT kRect = {0, 0, 200, 100};

TEST(CutilIList, BothFormsAgainstTheControl) {
    Parent parent;
    for (const ListCase& c : kListCases) {
        for (const bool byPointer : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (byPointer ? " (pointer)" : " (reference)"));
            CListCtrl list;
            ASSERT_TRUE(list.Create(LVS_REPORT, kRect, &parent, 1));
            list.InsertColumn(0, "Name");
            list.SetExtendedStyle(LVS_EX_CHECKBOXES);
            std::istringstream in(c.before);
            std::string item, after, joined = "x";
            for (int i = 0; in >> item; ++i) {
                list.InsertItem(i, item.substr(0, item.size() - 2).c_str());
                const UINT image = INDEXTOSTATEIMAGEMASK(std::string("-01").find(item.back()));
                list.SetItemState(i, (item[item.size() - 2] - '0') | image,
                                  3 | LVIS_STATEIMAGEMASK);
            }
            CStringArray arr;
            arr.Add("x");
            arr.Add("y");
            EXPECT_EQ(c.result, byPointer ? c.byPointer(&list, arr) : c.byReference(list, arr));
            for (int i = 0; i < list.GetItemCount(); ++i)
                after += (i ? " " : "") + std::string(list.GetItemText(i, 0)) +
                         std::to_string(list.GetItemState(i, 3)) + "-01"[list.GetCheck(i) + 1];
            for (INT_PTR i = 1; i < arr.GetSize(); ++i)
                joined += "|" + std::string(arr[i]);
            EXPECT_EQ(c.after, after);
            EXPECT_EQ(c.arr, joined);
        }
    }
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
