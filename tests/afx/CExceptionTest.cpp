#include <bwcore/afx.h>

#include <gtest/gtest.h>

namespace {

CException* CatchThrown(void (*pfnThrow)()) {
    try {
        pfnThrow();
    } catch (CMemoryException* e) { // the framework throws pointers, caught by their class
        return e;
    } catch (CSimpleException* e) {
        return e;
    }
    return nullptr;
}

TEST(CException, ThrowFunctionsThrowOneStaticObjectPerClass) {
    const struct {
        void (*pfnThrow)();
        CRuntimeClass* pClass;
    } cases[] = {
        {AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException)},
        {AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException)},
        {AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pClass->m_lpszClassName);
        CException* first = CatchThrown(c.pfnThrow);
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(c.pClass, first->GetRuntimeClass());
        EXPECT_FALSE(first->m_bAutoDelete);
        first->Delete(); // does nothing to a static exception
        EXPECT_EQ(first, CatchThrown(c.pfnThrow));
    }
}

TEST(CException, DeleteFreesOnlyAutoDeleteExceptions) {
    // Under the leak checker, a Delete that does not delete shows as a leak.
    CException* allocated = new CNotSupportedException();
    allocated->Delete();
    CMemoryException kept(FALSE);
    kept.Delete();
    EXPECT_EQ(RUNTIME_CLASS(CMemoryException), kept.GetRuntimeClass());
}

} // namespace
