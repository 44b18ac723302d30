#include <bwcore/script/CCodeGlobalEventStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBufferSize = CCodeStream::LineBufferSize;

std::vector<std::string> Elements(const CStringArray& lines) {
    std::vector<std::string> elements;
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        elements.emplace_back(lines[i].GetString(), static_cast<size_t>(lines[i].GetLength()));
    }
    return elements;
}

// Reads the stream to its end, checking that each delivered line was appended as it came.
std::vector<std::string> ReadAll(CCodeGlobalEventStream& stream, const CStringArray& lines) {
    std::vector<std::string> delivered;
    char line[kBufferSize];
    while (stream.GetNextLine(line)) {
        delivered.emplace_back(line);
        EXPECT_EQ(lines.GetSize(), static_cast<INT_PTR>(stream.GetCurrentLineCount()));
        EXPECT_EQ(lines[lines.GetSize() - 1], CString(line));
    }
    return delivered;
}

TEST(CCodeGlobalEventStreamTest, AppendsEveryDeliveredLine) {
    ScriptTestFile file("a\r\nb\nc");
    CStringArray lines;
    CCodeGlobalEventStream stream(file.GetPath(), lines);
    EXPECT_STREQ(stream.GetFileName(), file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    const std::vector<std::string> expected{"a\n", "b\n", "c"};
    EXPECT_EQ(ReadAll(stream, lines), expected);
    EXPECT_EQ(Elements(lines), expected);
    EXPECT_EQ(stream.GetCurrentLineCount(), 3u);
}

TEST(CCodeGlobalEventStreamTest, LongLineAppendsEachPiece) {
    ScriptTestFile file(std::string(4999, 'x') + "\n");
    CStringArray lines;
    CCodeGlobalEventStream stream(file.GetPath(), lines);
    ASSERT_TRUE(stream.OpenFile());
    ReadAll(stream, lines);
    ASSERT_EQ(lines.GetSize(), 3);
    EXPECT_EQ(lines[0].GetLength(), 2047);
    EXPECT_EQ(lines[1].GetLength(), 2047);
    EXPECT_EQ(lines[2].GetLength(), 906);
    EXPECT_EQ(lines[2][905], '\n');
}

TEST(CCodeGlobalEventStreamTest, EmptyFileAppendsNothing) {
    ScriptTestFile file("");
    CStringArray lines;
    lines.Add("caller's own");
    CCodeGlobalEventStream stream(file.GetPath(), lines);
    ASSERT_TRUE(stream.OpenFile());
    EXPECT_TRUE(ReadAll(stream, lines).empty());
    EXPECT_EQ(Elements(lines), std::vector<std::string>{"caller's own"});
    // The count is the array's, whoever put the elements there.
    EXPECT_EQ(stream.GetCurrentLineCount(), 1u);
}

TEST(CCodeGlobalEventStreamTest, FailedOpenDeliversNothing) {
    const CString missing = [] {
        ScriptTestFile file("gone");
        return file.GetPath();
    }();
    for (const CString& name : {CString(""), missing}) {
        SCOPED_TRACE(name.GetString());
        CStringArray lines;
        CCodeGlobalEventStream stream(name, lines);
        EXPECT_FALSE(stream.OpenFile());
        EXPECT_TRUE(ReadAll(stream, lines).empty());
        EXPECT_EQ(lines.GetSize(), 0);
    }
}

// Event files read one after another build one running line array; the count read before the
// second file is the first file's line count.
TEST(CCodeGlobalEventStreamTest, StreamsShareOneArray) {
    ScriptTestFile first("f1\nf2\r\nf3\n");
    ScriptTestFile second("s1\ns2\n");
    CStringArray lines;
    CCodeGlobalEventStream firstStream(first.GetPath(), lines);
    CCodeGlobalEventStream secondStream(second.GetPath(), lines);
    ASSERT_TRUE(firstStream.OpenFile());
    ASSERT_TRUE(secondStream.OpenFile());
    EXPECT_EQ(secondStream.GetCurrentLineCount(), 0u);
    ReadAll(firstStream, lines);
    EXPECT_EQ(secondStream.GetCurrentLineCount(), 3u);
    ReadAll(secondStream, lines);
    EXPECT_EQ(Elements(lines), (std::vector<std::string>{"f1\n", "f2\n", "f3\n", "s1\n", "s2\n"}));
    EXPECT_EQ(firstStream.GetCurrentLineCount(), 5u);
}

TEST(CCodeGlobalEventStreamTest, CopySharesHandleAndArray) {
    ScriptTestFile file("1\n2\n3\n");
    CStringArray lines;
    auto source = std::make_unique<CCodeGlobalEventStream>(file.GetPath(), lines);
    ASSERT_TRUE(source->OpenFile());
    char line[kBufferSize];
    ASSERT_TRUE(source->GetNextLine(line));
    CCodeGlobalEventStream copy(*source);
    EXPECT_STREQ(copy.GetFileName(), file.GetPath());
    ASSERT_TRUE(copy.GetNextLine(line));
    EXPECT_STREQ(line, "2\n");
    // Destroying the source neither closes the copy's file nor touches the array.
    source.reset();
    EXPECT_EQ(ReadAll(copy, lines), std::vector<std::string>{"3\n"});
    EXPECT_EQ(Elements(lines), (std::vector<std::string>{"1\n", "2\n", "3\n"}));
}

TEST(CCodeGlobalEventStreamTest, OpenFileAgainRestarts) {
    ScriptTestFile file("1\n2\n");
    CStringArray lines;
    CCodeGlobalEventStream stream(file.GetPath(), lines);
    ASSERT_TRUE(stream.OpenFile());
    char line[kBufferSize];
    ASSERT_TRUE(stream.GetNextLine(line));
    ASSERT_TRUE(stream.OpenFile());
    ReadAll(stream, lines);
    EXPECT_EQ(Elements(lines), (std::vector<std::string>{"1\n", "1\n", "2\n"}));
}

} // namespace
