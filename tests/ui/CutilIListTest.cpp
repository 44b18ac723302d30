// The list and tree utilities against real controls: the headless ones on Linux, comctl32's under
// Wine. Every list case runs through both forms, by reference and by pointer.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const RECT kControlRect = {0, 0, 200, 100};

// The call, once with the control by reference (L a CListCtrl&) and once by pointer.
#define BOTH_FORMS(call)                                                                           \
    [](CListCtrl& list, CStringArray& arr) {                                                       \
        CListCtrl& L = list;                                                                       \
        (void)arr;                                                                                 \
        return call;                                                                               \
    },                                                                                             \
        [](CListCtrl& list, CStringArray& arr) {                                                   \
            CListCtrl* L = &list;                                                                  \
            (void)arr;                                                                             \
            return call;                                                                           \
        }

// Items as "text, selection bits (LVIS_FOCUSED 1, LVIS_SELECTED 2), GetCheck ('-' for -1)",
// separated by blanks: "a30 b0-" is a selected and focused checked-off item a and an item b
// without a state image.
struct ListCase {
    const char* name;
    const char* before;
    std::function<int(CListCtrl&, CStringArray&)> byReference, byPointer;
    int result;
    const char* after;
    const char* arr; // the array, which holds "x" and "y" before the call
};

const ListCase kListCases[] = {
    {"select sets focus too", "a00 b00 c00", BOTH_FORMS(CutilIListSelectItem(L, 1, 1)), 1,
     "a00 b30 c00", "x|y"},
    {"deselect clears focus, leaves the others", "a20 b30 c20",
     BOTH_FORMS(CutilIListSelectItem(L, 1, 0)), 1, "a20 b00 c20", "x|y"},
    {"selected means the selected bit", "a10 b20",
     BOTH_FORMS(CutilIListIsItemSelected(L, 1) * 10 + CutilIListIsItemSelected(L, 0)), 10,
     "a10 b20", "x|y"},
    {"first selected, focus alone not counted", "a10 b00 c20 d20",
     BOTH_FORMS(CutilIListFindSelectedItem(L)), 2, "a10 b00 c20 d20", "x|y"},
    {"none selected", "a10", BOTH_FORMS(CutilIListFindSelectedItem(L)), -1, "a10", "x|y"},
    {"empty list", "", BOTH_FORMS(CutilIListFindSelectedItem(L)), -1, "", "x|y"},
    {"clear all others", "a10 b20 c20", BOTH_FORMS(CutilIListClearAllOthers(L, 1)), 1,
     "a00 b30 c00", "x|y"},
    {"clear all others with -1", "a20 b30", BOTH_FORMS(CutilIListClearAllOthers(L, -1)), 1,
     "a00 b00", "x|y"},
    {"clear all others past the end", "a30 b20", BOTH_FORMS(CutilIListClearAllOthers(L, 2)), 1,
     "a00 b00", "x|y"},
    {"find ignores case, takes the first", "a00 b00 B00",
     BOTH_FORMS(CutilIListFindItem(L, CString("B"))), 1, "a00 b00 B00", "x|y"},
    {"find nothing", "ab00", BOTH_FORMS(CutilIListFindItem(L, CString("a"))), -1, "ab00", "x|y"},
    {"find in an empty list", "", BOTH_FORMS(CutilIListFindItem(L, CString(""))), -1, "", "x|y"},
    {"checked appended, no state image counts", "a01 b00 c0- d01",
     BOTH_FORMS(CutilIListGetCheckedItemList(L, arr)), 5, "a01 b00 c0- d01", "x|y|a|c|d"},
    {"selected appended", "a10 b20 c20", BOTH_FORMS(CutilIListGetSelectedList(L, arr)), 4,
     "a10 b20 c20", "x|y|b|c"},
    {"check items", "a00 b00 c01",
     BOTH_FORMS(CutilIListCheckItem(L, 1, 1) + CutilIListCheckItem(L, 2, 0)), 2, "a00 b01 c00",
     "x|y"},
};

class UtilityControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, "Static", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }

    CWnd m_parent;
};

std::string Join(const CStringArray& arr) {
    std::string joined;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        joined += (i ? "|" : "") + std::string(arr[i]);
    return joined;
}

std::string States(CListCtrl& list) {
    std::string states;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const int check = list.GetCheck(i);
        states += (i ? " " : "") + std::string(list.GetItemText(i, 0)) +
                  std::to_string(list.GetItemState(i, 3)) +
                  (check < 0 ? "-" : std::to_string(check));
    }
    return states;
}

void Fill(CListCtrl& list, const std::string& items) {
    std::istringstream in(items);
    std::string item;
    for (int i = 0; in >> item; ++i) {
        ASSERT_EQ(i, list.InsertItem(i, item.substr(0, item.size() - 2).c_str()));
        list.SetItemState(i, item[item.size() - 2] - '0', 3);
        if (item.back() == '-')
            list.SetItemState(i, INDEXTOSTATEIMAGEMASK(0), LVIS_STATEIMAGEMASK);
        else
            list.SetCheck(i, item.back() - '0');
    }
}

TEST_F(UtilityControls, ListFunctionsInBothForms) {
    for (const ListCase& c : kListCases) {
        for (int form = 0; form < 2; ++form) {
            SCOPED_TRACE(std::string(c.name) + (form ? " (pointer)" : " (reference)"));
            CListCtrl list;
            ASSERT_TRUE(list.Create(LVS_REPORT, kControlRect, &m_parent, 1));
            list.InsertColumn(0, "Name");
            list.SetExtendedStyle(LVS_EX_CHECKBOXES);
            Fill(list, c.before);
            CStringArray arr;
            arr.Add("x");
            arr.Add("y");
            EXPECT_EQ(c.result, (form ? c.byPointer : c.byReference)(list, arr));
            EXPECT_EQ(c.after, States(list));
            EXPECT_EQ(c.arr, Join(arr));
        }
    }
}

TEST_F(UtilityControls, TreeFindChildLooksAtDirectChildrenOnly) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(0, kControlRect, &m_parent, 2));
    HTREEITEM hParent = tree.InsertItem("Parent");
    HTREEITEM hEmpty = tree.InsertItem("Empty");
    HTREEITEM hAlpha = tree.InsertItem("alpha", hParent);
    HTREEITEM hBeta = tree.InsertItem("Beta", hParent);
    tree.InsertItem("beta", hParent);
    tree.InsertItem("gamma", hAlpha);
    const struct {
        HTREEITEM hParent;
        const char* name;
        HTREEITEM expected;
    } kCases[] = {
        {hParent, "BETA", hBeta}, {hParent, "alpha", hAlpha},  {hParent, "gamma", nullptr},
        {hEmpty, "", nullptr},    {TVI_ROOT, "empty", hEmpty}, {hAlpha, "Parent", nullptr},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.expected, CutilTreeFindChild(&tree, c.hParent, c.name)) << c.name;
}

} // namespace
