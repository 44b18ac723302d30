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

HMODULE Library() {
    return GetModuleHandleA("bwcore.dll");
}

// Every non-empty string of the module's string table, read from the RT_STRING blocks as they are
// stored (16 strings per block, each a length and that many UTF-16 units). The texts are ASCII,
// so each unit is compared as one byte; a unit above 0x7F is kept as '?' to show up as a
// difference.
Catalogue StoredStrings(HMODULE module) {
    Catalogue stored;
    for (UINT block = 1; block <= 4096; ++block) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING);
        if (!found)
            continue;
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        const DWORD size = SizeofResource(module, found);
        DWORD offset = 0;
        for (UINT index = 0; index < 16; ++index) {
            WORD length;
            std::memcpy(&length, data + offset, 2);
            offset += 2;
            std::string text;
            for (WORD i = 0; i < length; ++i, offset += 2) {
                WORD unit;
                std::memcpy(&unit, data + offset, 2);
                text += unit < 0x80 ? static_cast<char>(unit) : '?';
            }
            if (length > 0)
                stored[(block - 1) * 16 + index] = text;
        }
        // A block is exactly its 16 strings, with nothing after them.
        EXPECT_EQ(size, offset) << "block " << block;
    }
    return stored;
}

TEST(Catalogue, HoldsExactlyTheExpectedEntries) {
    const Catalogue expected = ExpectedCatalogue();
    ASSERT_EQ(117u, expected.size());
    ASSERT_NE(nullptr, Library());
    EXPECT_EQ(expected, StoredStrings(Library()));
}

// Through the library's module and through the framework's chain alike, nothing written past
// the terminator; the ids next to entries (11038 shares the block of 11032 to 11037) are missing.
TEST(Catalogue, EveryEntryLoadsByteForByte) {
    Catalogue entries = ExpectedCatalogue();
    for (UINT id : {11038u, 11031u, 11039u, 23901u, 30661u})
        entries[id] = "";
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.first);
        char buffer[1024];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(static_cast<int>(entry.second.size()),
                  LoadStringA(Library(), entry.first, buffer, sizeof buffer));
        EXPECT_EQ(entry.second, std::string(buffer));
        EXPECT_EQ('x', buffer[entry.second.size() + 1]);
        CString text("previous");
        EXPECT_EQ(!entry.second.empty(), text.LoadString(entry.first) != FALSE);
        if (!entry.second.empty()) {
            EXPECT_EQ(entry.second, std::string(text.GetString(), text.GetLength()));
        }
    }
}

} // namespace
