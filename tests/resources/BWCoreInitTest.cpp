// The library's start-up: its entry on the framework's resource chain, made when it is loaded,
// and one more per call of BWCoreInit.
#include <bwcore/BWCoreInit.h>
#include <bwcore/afx.h>

#include <gtest/gtest.h>

namespace {

// Every call of BWCoreInit in this program goes through CallBWCoreInit, so the chain must hold
// exactly one entry for the library (the load-time one) plus one per call so far.
int bwcoreInitCalls = 0;

void CallBWCoreInit() {
    BWCoreInit();
    ++bwcoreInitCalls;
}

HMODULE Library() {
    return GetModuleHandleA("bwcore.dll");
}

int EntriesFor(HMODULE module) {
    int count = 0;
    for (CDynLinkLibrary* p = AfxGetFirstDynLinkLibrary(); p; p = p->m_pNextDLL)
        if (p->m_hModule == module)
            ++count;
    return count;
}

TEST(BWCoreInit, LoadTimeEntryExists) {
    ASSERT_NE(nullptr, Library());
    EXPECT_EQ(1 + bwcoreInitCalls, EntriesFor(Library()));

    // The oldest of the library's entries is the load-time one: the library's own module, for
    // both code and resources, not a system module.
    CDynLinkLibrary* oldest = nullptr;
    for (CDynLinkLibrary* p = AfxGetFirstDynLinkLibrary(); p; p = p->m_pNextDLL)
        if (p->m_hModule == Library())
            oldest = p;
    ASSERT_NE(nullptr, oldest);
    EXPECT_EQ(Library(), oldest->m_hResource);
    EXPECT_FALSE(oldest->m_bSystem);
    EXPECT_TRUE(oldest->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
}

TEST(BWCoreInit, AddsOneEntryPerCallAtTheHead) {
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const int before = EntriesFor(Library());
        CallBWCoreInit();
        EXPECT_EQ(before + 1, EntriesFor(Library()));
        EXPECT_EQ(1 + bwcoreInitCalls, EntriesFor(Library()));
        CDynLinkLibrary* newest = AfxGetFirstDynLinkLibrary();
        ASSERT_NE(nullptr, newest);
        EXPECT_EQ(Library(), newest->m_hModule);
        EXPECT_EQ(Library(), newest->m_hResource);
    }
}

TEST(BWCoreInit, CatalogueIsFoundThroughTheChain) {
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(11032));
    CallBWCoreInit();
    EXPECT_EQ(Library(), AfxFindStringResourceHandle(30660));
}

} // namespace
