#include <bwcore/script/CCodeFileStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr int kBufferSize = CCodeStream::LineBufferSize;

// Reads every line the stream delivers into a buffer with a guard byte past its 2048 bytes: each
// line is every byte written before the terminator, zero bytes included. A failed read must write
// nothing at all.
std::vector<std::string> ReadAll(CCodeStream& stream) {
    std::vector<std::string> lines;
    for (;;) {
        char bytes[kBufferSize + 1];
        std::memset(bytes, 'U', sizeof(bytes));
        const bool bRead = stream.GetNextLine(bytes);
        int nWritten = kBufferSize + 1;
        while (nWritten > 0 && bytes[nWritten - 1] == 'U') {
            --nWritten;
        }
        if (!bRead) {
            EXPECT_EQ(nWritten, 0) << "a failed read wrote to the buffer";
            return lines;
        }
        EXPECT_TRUE(nWritten > 0 && nWritten <= kBufferSize && bytes[nWritten - 1] == '\0');
        lines.emplace_back(bytes, static_cast<size_t>(nWritten > 0 ? nWritten - 1 : 0));
    }
}

std::string X(size_t count) {
    return std::string(count, 'x');
}

TEST(CCodeFileStreamTest, FailedOpenDeliversNothing) {
    const CString strMissing = ScriptTestFile("gone").GetPath();
    ScriptTestFile file("line\n");
    for (const CString& strName : {CString(""), strMissing, file.GetPath()}) {
        CCodeFileStream stream(strName);
        if (strName != file.GetPath()) {
            EXPECT_FALSE(stream.OpenFile());
        }
        EXPECT_TRUE(ReadAll(stream).empty()) << strName.GetString();
    }
}

// Lines arrive as text mode delivers them: CR LF as LF, the cut at 2047 bytes made after that
// translation, nothing from a Ctrl-Z on.
TEST(CCodeFileStreamTest, DeliversLinesAsTextMode) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\nb", {"a\n", "b"}},
        {"\n\n", {"\n", "\n"}},
        {"a\r\nb\r\n", {"a\n", "b\n"}},
        {"a\rb\n", {"a\rb\n"}},
        {"a\r\r\n", {"a\r\n"}},
        {"a\r", {"a\r"}},
        {"a\n\rb", {"a\n", "\rb"}},
        {X(4999) + "\r\n", {X(2047), X(2047), X(905) + "\n"}},
        {X(2046) + "\ny", {X(2046) + "\n", "y"}},
        {X(2046) + "\r\ny", {X(2046) + "\n", "y"}},
        {X(2046), {X(2046)}},
        {X(2046) + "\ry\n", {X(2046) + "\r", "y\n"}},
        {X(2047) + "\n", {X(2047), "\n"}},
        {X(2047) + "\r\n", {X(2047), "\n"}},
        {X(2045) + "\ra\r\n", {X(2045) + "\ra", "\n"}},
        {"a\nb\x1Az\nd\n", {"a\n", "b"}},
        {"\x1Az\n", {}},
        {"a\r\x1A\n", {"a\r"}},
        {"a\0b\nc\n"s, {"a\0b\n"s, "c\n"}},
        {"a\0\x1Az\nc\n"s, {"a\0"s}},
        {X(2000) + '\0' + X(45) + "\r\ny", {X(2000) + '\0' + X(45) + "\n", "y"}},
        {X(2000) + '\0' + X(46) + "\ry\n", {X(2000) + '\0' + X(46), "\ry\n"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.bytes.substr(0, 20));
        OpenScript script(test.bytes);
        EXPECT_EQ(ReadAll(script.stream), test.lines);
        EXPECT_TRUE(ReadAll(script.stream).empty()) << "read on after the end";
        EXPECT_EQ(script.stream.GetCurrentLineCount(), 0u);
    }
}

// The file is read ahead in blocks of 64 KB; a line, a CR LF pair, a cut or a Ctrl-Z across the
// boundary of two blocks reads as within one. Each case starts its text with blank lines so that
// the byte at offset 65535 is the one that matters.
TEST(CCodeFileStreamTest, ReadsAcrossBlockBoundaries) {
    const struct {
        size_t nBlankLines;
        std::string tail;
        std::vector<std::string> lines;
    } cases[] = {
        {65500, X(35) + "\r\ny", {X(35) + "\n", "y"}},
        {63489, X(2046) + "\r\ny", {X(2046) + "\n", "y"}},
        {65530, X(3000) + "\n", {X(2047), X(953) + "\n"}},
        {65530, X(20) + "\x1A" + X(10) + "\n", {X(20)}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nBlankLines);
        OpenScript script(std::string(test.nBlankLines, '\n') + test.tail);
        std::vector<std::string> expected(test.nBlankLines, "\n");
        expected.insert(expected.end(), test.lines.begin(), test.lines.end());
        EXPECT_EQ(ReadAll(script.stream), expected);
    }
}

// The base counts no lines, so a stream of the caller's own that keeps none gives parses no
// line offset.
TEST(CCodeFileStreamTest, BaseStreamCountsNoLines) {
    struct Stream : CCodeStream {
        Stream() : CCodeStream("s") {}
        bool GetNextLine(char*) override { return false; }
    } stream;
    EXPECT_EQ(stream.GetCurrentLineCount(), 0u);
}

// Copies read the same open file, which stays open until the last of them goes.
TEST(CCodeFileStreamTest, CopiesShareTheFile) {
    ScriptTestFile file("1\n2\n3\n4\n");
    ScriptTestFile other("other\n");
    auto source = std::make_unique<CCodeFileStream>(file.GetPath());
    ASSERT_TRUE(source->OpenFile());
    char line[kBufferSize];
    ASSERT_TRUE(source->GetNextLine(line));
    CCodeFileStream copy(*source);
    EXPECT_STREQ(copy.GetFileName(), file.GetPath());
    ASSERT_TRUE(copy.GetNextLine(line));
    EXPECT_STREQ(line, "2\n");
    ASSERT_TRUE(source->GetNextLine(line));
    EXPECT_STREQ(line, "3\n");
    CCodeFileStream assigned(other.GetPath());
    ASSERT_TRUE(assigned.OpenFile());
    CCodeFileStream keeper(assigned);
    assigned = copy;
    source.reset();
    EXPECT_EQ(ReadAll(assigned), std::vector<std::string>{"4\n"});
    EXPECT_TRUE(ReadAll(copy).empty());
    EXPECT_EQ(ReadAll(keeper), std::vector<std::string>{"other\n"});
    CCodeFileStream unopened(file.GetPath());
    CCodeFileStream unopenedCopy(unopened);
    EXPECT_TRUE(ReadAll(unopenedCopy).empty());
}

} // namespace
