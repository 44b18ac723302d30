// CharNextA and CharPrevA: the walks of charnext.tsv (code page 932) and the stepping rule over
// the lead bytes of the current code page.

#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

TEST(CharNextA, WalksOfTheReferenceTable) {
    if (GetACP() != 932)
        GTEST_SKIP() << "the walks were measured in code page 932";
    const ReferenceTable table("charnext.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        SCOPED_TRACE(table.Get(row, "name"));
        const std::string bytes = HexBytes(table.Get(row, "bytes"));
        const char* s = bytes.c_str();
        const int len = static_cast<int>(bytes.size());
        // In the table's form: "0,2,3" for walks, "0:2,1:2,..." for each offset's step.
        std::string nextWalk = "0", prevWalk = std::to_string(len), nextEach, prevEach;
        for (const char* p = s; *p != '\0';)
            nextWalk += "," + std::to_string((p = CharNextA(p)) - s);
        for (const char* p = s + len; p != s;)
            prevWalk += "," + std::to_string((p = CharPrevA(s, p)) - s);
        for (int i = 0; i <= len; ++i) {
            const std::string at = (i ? "," : "") + std::to_string(i) + ":";
            nextEach += at + std::to_string(CharNextA(s + i) - s);
            prevEach += at + std::to_string(CharPrevA(s, s + i) - s);
        }
        EXPECT_EQ(nextWalk, table.Get(row, "next_walk"));
        EXPECT_EQ(prevWalk, table.Get(row, "prev_walk"));
        EXPECT_EQ(nextEach, table.Get(row, "next_each"));
        EXPECT_EQ(prevEach, table.Get(row, "prev_each"));
    }
}

TEST(CharNextA, EveryLeadByteOfTheCodePageTakesTheNextByte) {
    // The rule behind the walks, for every lead byte of the current code page: a lead byte and
    // any non-zero byte form one character; a lead byte before the terminator stands alone.
    const ReferenceTable table("codepages.tsv");
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const char b = static_cast<char>(HexNumber(table.Get(row, "byte")));
        if (static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) != GetACP() || b == '\0')
            continue;
        SCOPED_TRACE("byte " + table.Get(row, "byte"));
        const int expected = table.Get(row, "lead_acp") == "1" ? 2 : 1;
        for (char trail : {'\x20', '\x41', '\x7F', '\xA1', '\xFF'}) {
            const char s[] = {b, trail, 'x', '\0'};
            EXPECT_EQ(CharNextA(s) - s, expected);
            EXPECT_EQ(CharPrevA(s, s + 2) - s, expected == 2 ? 0 : 1);
            // After a single-byte character the "trail" byte may lead a character of its own.
            const bool trailLeadsX = expected == 1 && IsDBCSLeadByte(static_cast<BYTE>(trail));
            EXPECT_EQ(CharPrevA(s, s + 3) - s, trailLeadsX ? 1 : 2);
        }
        const char alone[] = {b, '\0'};
        EXPECT_EQ(CharNextA(alone) - alone, 1);
        EXPECT_EQ(CharPrevA(alone, alone + 1) - alone, 0);
    }
    const char empty[] = "";
    EXPECT_EQ(CharNextA(empty), empty) << "stays at the terminator";
    EXPECT_EQ(CharPrevA(empty, empty), empty);
}
