// Tests that need a particular ANSI code page (named ...Cp932... by convention) run in a CTest
// entry of their own, which sets the code page (BWCORE_ACP on Linux, LANG under Wine) together
// with BWCORE_TEST_EXPECT_ACP. There another code page is a failure of the test set-up; in a
// plain run of the program such a test is skipped.
#pragma once

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#define BW_REQUIRE_ACP(cp)                                                                         \
    do {                                                                                           \
        if (GetACP() != static_cast<UINT>(cp)) {                                                   \
            if (getenv("BWCORE_TEST_EXPECT_ACP") != nullptr)                                       \
                FAIL() << "running in code page " << GetACP() << ", expected " << (cp);            \
            GTEST_SKIP() << "needs code page " << (cp);                                            \
        }                                                                                          \
    } while (0)
