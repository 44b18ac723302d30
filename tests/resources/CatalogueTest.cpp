// The message catalogue of the library: every entry byte for byte, through the framework's
// resource chain and through the library's module handle.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>

namespace {

using Catalogue = std::map<UINT, std::string>;

// The expected catalogue, kept apart from the resource script: "id<TAB>text" per line, with \n,
// \\ and \" escapes in the text; lines starting with '#' are comments.
Catalogue ExpectedCatalogue() {
    std::ifstream in(BWCORE_TEST_DATA_DIR "/catalogue.tsv", std::ios::binary);
    EXPECT_TRUE(in) << "cannot read catalogue.tsv";
    Catalogue expected;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t tab = line.find('\t');
        EXPECT_NE(std::string::npos, tab) << line;
        std::string text;
        for (size_t i = tab + 1; i < line.size(); ++i) {
            if (line[i] != '\\') {
                text += line[i];
                continue;
            }
            char e = line[++i];
            EXPECT_TRUE(e == 'n' || e == '\\' || e == '"') << "bad escape in: " << line;
            text += e == 'n' ? '\n' : e;
        }
        expected[static_cast<UINT>(std::stoul(line.substr(0, tab)))] = text;
    }
    return expected;
}

// Every entry and nothing else, byte for byte, through the library's module (nothing written
// past the terminator) and through the framework's chain alike.
TEST(Catalogue, HoldsExactlyTheExpectedEntriesByteForByte) {
    const Catalogue expected = ExpectedCatalogue();
    ASSERT_EQ(117u, expected.size());
    Catalogue stored;
    for (UINT id = 0; id <= 0xFFFF; ++id) {
        char buffer[1024];
        std::memset(buffer, 'x', sizeof buffer);
        const int length = LoadStringA(GetModuleHandleA("bwcore.dll"), id, buffer, sizeof buffer);
        if (length > 0) {
            stored[id] = std::string(buffer, length);
            EXPECT_EQ('\0', buffer[length]) << id;
            EXPECT_EQ('x', buffer[length + 1]) << id;
        }
    }
    EXPECT_EQ(expected, stored);
    for (const auto& entry : expected) {
        CString text;
        EXPECT_TRUE(text.LoadString(entry.first)) << entry.first;
        EXPECT_EQ(entry.second, std::string(text.GetString(), text.GetLength())) << entry.first;
    }
}

} // namespace
