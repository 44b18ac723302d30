// The library's start-up: its entry on the framework's resource chain, made when it is loaded,
// and one more per call of BWCoreInit, at the head.
#include <bwcore/BWCoreInit.h>
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CDynLinkLibrary*> LibraryEntries() {
    std::vector<CDynLinkLibrary*> entries;
    for (CDynLinkLibrary* p = AfxGetFirstDynLinkLibrary(); p; p = p->m_pNextDLL)
        if (p->m_hModule == GetModuleHandleA("bwcore.dll"))
            entries.push_back(p);
    return entries;
}

TEST(BWCoreInit, LoadTimeEntryThenOneAtTheHeadPerCall) {
    const HMODULE library = GetModuleHandleA("bwcore.dll");
    ASSERT_EQ(1u, LibraryEntries().size());
    CDynLinkLibrary* loadTime = LibraryEntries()[0];
    EXPECT_EQ(library, loadTime->m_hResource);
    EXPECT_FALSE(loadTime->m_bSystem);
    EXPECT_TRUE(loadTime->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
    for (size_t calls = 1; calls <= 2; ++calls) {
        BWCoreInit();
        EXPECT_EQ(1 + calls, LibraryEntries().size());
        EXPECT_EQ(library, AfxGetFirstDynLinkLibrary()->m_hModule);
        EXPECT_EQ(library, AfxGetFirstDynLinkLibrary()->m_hResource);
        EXPECT_EQ(loadTime, LibraryEntries().back());
    }
    EXPECT_EQ(library, AfxFindStringResourceHandle(30660));
}

} // namespace
