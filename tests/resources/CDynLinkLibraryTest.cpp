// The framework's resource chain: extension modules, search order and clean-up. The test program
// has resources of its own (resources_tests.rc), among them a string 11032 that differs from the
// library's, so the text found shows which module the search chose.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kProgramText[] = "The test program's 11032";

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

std::string LibraryText11032() {
    char buffer[256];
    LoadStringA(Library(), 11032, buffer, sizeof buffer);
    return buffer;
}

std::vector<CDynLinkLibrary*> Chain() {
    std::vector<CDynLinkLibrary*> entries;
    for (CDynLinkLibrary* p = AfxGetFirstDynLinkLibrary(); p; p = p->m_pNextDLL)
        entries.push_back(p);
    return entries;
}

int EntriesFor(HMODULE module) {
    int count = 0;
    for (CDynLinkLibrary* p : Chain())
        if (p->m_hModule == module)
            ++count;
    return count;
}

// Counts live instances, to see that the chain's clean-up deletes its entries.
class CountedLibrary : public CDynLinkLibrary {
public:
    explicit CountedLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE)
        : CDynLinkLibrary(state, bSystem) {
        ++live;
    }
    ~CountedLibrary() override { --live; }
    static int live;
};
int CountedLibrary::live = 0;

class CDynLinkLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, Program());
        ASSERT_NE(nullptr, Library());
        ASSERT_EQ(0, EntriesFor(Program()));
        ASSERT_EQ(nullptr, AfxGetResourceHandle());
        chainBefore = Chain();
    }
    void TearDown() override {
        AfxSetResourceHandle(nullptr);
        EXPECT_EQ(chainBefore, Chain());
    }
    std::vector<CDynLinkLibrary*> chainBefore;
};

TEST_F(CDynLinkLibraryTest, NewestEntryIsSearchedFirst) {
    const std::string libraryText = LibraryText11032();
    ASSERT_NE("", libraryText);
    EXPECT_EQ(libraryText, Loaded(11032));

    CDynLinkLibrary* program = new CDynLinkLibrary(Program(), Program());
    EXPECT_EQ(program, AfxGetFirstDynLinkLibrary());
    EXPECT_EQ(Program(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(kProgramText, Loaded(11032));

    CDynLinkLibrary* library = new CDynLinkLibrary(Library(), Library());
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(libraryText, Loaded(11032));
    // Strings only the older entry has are still found.
    EXPECT_EQ("One hundred", Loaded(100));

    delete library;
    EXPECT_EQ(kProgramText, Loaded(11032));
    delete program;
    EXPECT_EQ(libraryText, Loaded(11032));
}

TEST_F(CDynLinkLibraryTest, ResourceHandleIsSearchedBeforeTheChain) {
    AfxSetResourceHandle(Program());
    EXPECT_EQ(Program(), AfxGetResourceHandle());
    EXPECT_EQ(Program(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(kProgramText, Loaded(11032));
    // What the resource module lacks still comes from the chain.
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(30660));
}

TEST_F(CDynLinkLibraryTest, SystemEntriesAreSearchedLast) {
    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    ASSERT_TRUE(AfxInitExtensionModule(state, Program()));
    new CDynLinkLibrary(state, TRUE);
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(11032));
    EXPECT_EQ(Program(), AfxFindStringResourceHandle(100));
    AfxTermExtensionModule(state);
}

TEST_F(CDynLinkLibraryTest, MissingResourcesAreFoundNowhere) {
    new CDynLinkLibrary(Program(), Program());
    EXPECT_EQ(nullptr, AfxFindStringResourceHandle(64000));
    EXPECT_EQ(nullptr, AfxFindResourceHandle(MAKEINTRESOURCEA(1), RT_BITMAP));
    EXPECT_EQ(Program(), AfxFindResourceHandle(MAKEINTRESOURCEA(1), RT_GROUP_ICON));

    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(0, AfxLoadString(64000, buffer, sizeof buffer));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ('x', buffer[1]);
    EXPECT_EQ(11, AfxLoadString(100, buffer, sizeof buffer));
    EXPECT_STREQ("One hundred", buffer);

    CString text("previous");
    EXPECT_FALSE(text.LoadString(64000));
    delete AfxGetFirstDynLinkLibrary();
}

TEST_F(CDynLinkLibraryTest, DestructorUnlinksFromAnywhereInTheChain) {
    CDynLinkLibrary* a = new CDynLinkLibrary(Program(), Program());
    CDynLinkLibrary* b = new CDynLinkLibrary(Program(), Program());
    CDynLinkLibrary* c = new CDynLinkLibrary(Program(), Program());
    std::vector<CDynLinkLibrary*> expected = {c, b, a};
    expected.insert(expected.end(), chainBefore.begin(), chainBefore.end());
    EXPECT_EQ(expected, Chain());

    delete b;
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(expected, Chain());
    delete c;
    delete a;
}

TEST_F(CDynLinkLibraryTest, InitExtensionModuleRecordsTheModuleOnce) {
    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(state, nullptr));
    EXPECT_FALSE(state.bInitialized);

    EXPECT_TRUE(AfxInitExtensionModule(state, Program()));
    EXPECT_TRUE(state.bInitialized);
    EXPECT_EQ(Program(), state.hModule);
    EXPECT_EQ(Program(), state.hResource);
    // A repeated call succeeds and changes nothing.
    EXPECT_TRUE(AfxInitExtensionModule(state, Library()));
    EXPECT_EQ(Program(), state.hModule);
    AfxTermExtensionModule(state);
}

TEST_F(CDynLinkLibraryTest, TermExtensionModuleDeletesOnlyThatModulesEntries) {
    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    ASSERT_TRUE(AfxInitExtensionModule(state, Program()));
    new CountedLibrary(state);
    CDynLinkLibrary* other = new CDynLinkLibrary(Library(), Library());
    new CountedLibrary(state, TRUE);
    EXPECT_EQ(2, CountedLibrary::live);
    EXPECT_EQ(2, EntriesFor(Program()));

    AfxTermExtensionModule(state);
    EXPECT_EQ(0, CountedLibrary::live);
    EXPECT_EQ(0, EntriesFor(Program()));
    EXPECT_EQ(other, AfxGetFirstDynLinkLibrary());
    EXPECT_FALSE(state.bInitialized);
    EXPECT_EQ(nullptr, state.hModule);

    // A second call has nothing left to do.
    AfxTermExtensionModule(state);
    delete other;
}

} // namespace
