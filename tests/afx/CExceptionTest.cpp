#include <bwcore/afx.h>

#include <gtest/gtest.h>

namespace {

// Each AfxThrow... function with the class its exception must have.
struct ThrowCase {
    const char* name;
    void (*pfnThrow)();
    CRuntimeClass* pClass;
};

const ThrowCase kThrowCases[] = {
    {"InvalidArg", AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException)},
    {"Memory", AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException)},
    {"NotSupported", AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException)},
};

CException* CatchThrown(void (*pfnThrow)()) {
    try {
        pfnThrow();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

TEST(CException, ThrowFunctionsThrowOneStaticObjectPerClass) {
    for (const ThrowCase& c : kThrowCases) {
        SCOPED_TRACE(c.name);
        CException* first = CatchThrown(c.pfnThrow);
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(c.pClass, first->GetRuntimeClass());
        EXPECT_TRUE(first->IsKindOf(RUNTIME_CLASS(CSimpleException)));
        EXPECT_FALSE(first->m_bAutoDelete);
        // Deleting a static exception does nothing, so the next throw hands out the same object.
        first->Delete();
        EXPECT_EQ(first, CatchThrown(c.pfnThrow));
    }
}

TEST(CException, CaughtByItsOwnPointerType) {
    bool caught = false;
    try {
        AfxThrowInvalidArgException();
    } catch (CMemoryException*) {
        ADD_FAILURE() << "caught as the wrong class";
    } catch (CInvalidArgException* e) {
        caught = true;
        e->Delete();
    }
    EXPECT_TRUE(caught);
}

TEST(CException, DeleteFreesOnlyAutoDeleteExceptions) {
    // Under the leak checker, a Delete that does not delete shows as a leak.
    CException* allocated = new CNotSupportedException();
    EXPECT_TRUE(allocated->m_bAutoDelete);
    allocated->Delete();

    CMemoryException kept(FALSE);
    kept.Delete();
    EXPECT_EQ(RUNTIME_CLASS(CMemoryException), kept.GetRuntimeClass());
}

TEST(CException, ClassChain) {
    EXPECT_STREQ("CInvalidArgException", RUNTIME_CLASS(CInvalidArgException)->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CSimpleException), RUNTIME_CLASS(CInvalidArgException)->GetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CException), RUNTIME_CLASS(CSimpleException)->GetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CException)->GetBaseClass());
    EXPECT_FALSE(RUNTIME_CLASS(CException)->IsDerivedFrom(RUNTIME_CLASS(CSimpleException)));
}

} // namespace
