// The framework's resource chain: extension modules, search order and clean-up. The test program
// has resources of its own (resources_tests.rc), among them a string 11032 that differs from the
// library's, so the text found shows which module the search chose.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HMODULE Program() {
    return GetModuleHandleA(nullptr);
}
HMODULE Library() {
    return GetModuleHandleA("bwcore.dll");
}

std::string Loaded(UINT id) {
    CString text;
    text.LoadString(id);
    return std::string(text.GetString(), text.GetLength());
}

std::string Direct(HMODULE module, UINT id) {
    char buffer[256];
    LoadStringA(module, id, buffer, sizeof buffer);
    return buffer;
}

std::vector<CDynLinkLibrary*> Chain() {
    std::vector<CDynLinkLibrary*> entries;
    for (CDynLinkLibrary* p = AfxGetFirstDynLinkLibrary(); p; p = p->m_pNextDLL)
        entries.push_back(p);
    return entries;
}

class CDynLinkLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { chainBefore = Chain(); }
    void TearDown() override {
        AfxSetResourceHandle(nullptr);
        EXPECT_EQ(chainBefore, Chain());
    }
    std::vector<CDynLinkLibrary*> chainBefore;
};

// Newest entry first, system entries last, the application's resource module before all.
TEST_F(CDynLinkLibraryTest, SearchOrder) {
    const std::string libraryText = Direct(Library(), 11032);
    EXPECT_EQ(libraryText, Loaded(11032));
    CDynLinkLibrary* program = new CDynLinkLibrary(Program(), Program());
    EXPECT_EQ(program, AfxGetFirstDynLinkLibrary());
    EXPECT_EQ(Direct(Program(), 11032), Loaded(11032));
    CDynLinkLibrary* library = new CDynLinkLibrary(Library(), Library());
    EXPECT_EQ(libraryText, Loaded(11032));
    EXPECT_EQ("One hundred", Loaded(100));
    AfxSetResourceHandle(Program());
    EXPECT_EQ(Program(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(30660));
    AfxSetResourceHandle(nullptr);
    delete library;
    delete program;

    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    ASSERT_TRUE(AfxInitExtensionModule(state, Program()));
    new CDynLinkLibrary(state, TRUE);
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(Program(), AfxFindStringResourceHandle(100));
    AfxTermExtensionModule(state);
}

// The program holds 11032 only of the catalogue block 11024 to 11039; the library's other texts
// of that block are still found past it, through every way of loading a string.
TEST_F(CDynLinkLibraryTest, ModuleWithOneStringOfABlockHidesNoOtherString) {
    CDynLinkLibrary* program = new CDynLinkLibrary(Program(), Program());
    AfxSetResourceHandle(Program());
    for (UINT id : {11033u, 11037u}) {
        SCOPED_TRACE(id);
        const std::string libraryText = Direct(Library(), id);
        ASSERT_NE("", libraryText);
        EXPECT_EQ(Library(), AfxFindStringResourceHandle(id));
        EXPECT_EQ(libraryText, Loaded(id));
        char buffer[256];
        EXPECT_EQ(static_cast<int>(libraryText.size()), AfxLoadString(id, buffer, sizeof buffer));
    }
    // 101 is an empty string of the program: it counts as missing, as do strings nobody has.
    EXPECT_EQ(nullptr, AfxFindStringResourceHandle(101));
    EXPECT_EQ(nullptr, AfxFindStringResourceHandle(64000));
    char buffer[4] = "xxx";
    EXPECT_EQ(0, AfxLoadString(64000, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    CString text("previous");
    EXPECT_FALSE(text.LoadString(64000));
    EXPECT_EQ(nullptr, AfxFindResourceHandle(MAKEINTRESOURCEA(1), RT_BITMAP));
    EXPECT_EQ(Program(), AfxFindResourceHandle(MAKEINTRESOURCEA(1), RT_GROUP_ICON));
    delete program;
}

TEST_F(CDynLinkLibraryTest, DestructorUnlinksFromAnywhereInTheChain) {
    CDynLinkLibrary* a = new CDynLinkLibrary(Program(), Program());
    CDynLinkLibrary* b = new CDynLinkLibrary(Program(), Program());
    CDynLinkLibrary* c = new CDynLinkLibrary(Program(), Program());
    delete b;
    std::vector<CDynLinkLibrary*> expected = {c, a};
    expected.insert(expected.end(), chainBefore.begin(), chainBefore.end());
    EXPECT_EQ(expected, Chain());
    delete c;
    delete a;
}

TEST_F(CDynLinkLibraryTest, ExtensionModuleIsRecordedOnceAndTerminatedWithItsEntries) {
    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(state, nullptr));
    EXPECT_TRUE(AfxInitExtensionModule(state, Program()));
    EXPECT_TRUE(AfxInitExtensionModule(state, Library()));
    EXPECT_EQ(Program(), state.hModule);
    EXPECT_EQ(Program(), state.hResource);
    // The leak checker reports entries unlinked but not deleted.
    new CDynLinkLibrary(state, FALSE);
    CDynLinkLibrary* other = new CDynLinkLibrary(Library(), Library());
    new CDynLinkLibrary(state, TRUE);
    AfxTermExtensionModule(state);
    EXPECT_EQ(other, AfxGetFirstDynLinkLibrary());
    for (CDynLinkLibrary* p : Chain())
        EXPECT_NE(Program(), p->m_hModule);
    EXPECT_FALSE(state.bInitialized);
    AfxTermExtensionModule(state);
    delete other;
}

} // namespace
