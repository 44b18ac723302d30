#include <bwcore/script/CCodeGlobalEventStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Reads the stream to its end, checking that each delivered line was appended as it came.
void ReadAll(CCodeGlobalEventStream& stream, const CStringArray& lines) {
    char line[CCodeStream::LineBufferSize];
    while (stream.GetNextLine(line)) {
        EXPECT_EQ(lines.GetSize(), static_cast<INT_PTR>(stream.GetCurrentLineCount()));
        EXPECT_EQ(lines[lines.GetSize() - 1], CString(line));
    }
}

// Each row's file is read after the caller's own element; the count is the array's.
TEST(CCodeGlobalEventStreamTest, AppendsEveryDeliveredLine) {
    const struct {
        std::string bytes;
        std::vector<std::string> appended;
    } cases[] = {
        {"", {}},
        {"a\r\nb\nc", {"a\n", "b\n", "c"}},
        {std::string(4999, 'x') + "\n",
         {std::string(2047, 'x'), std::string(2047, 'x'), std::string(905, 'x') + "\n"}},
    };
    for (const auto& test : cases) {
        ScriptTestFile file(test.bytes);
        CStringArray lines;
        lines.Add("own");
        CCodeGlobalEventStream stream(file.GetPath(), lines);
        EXPECT_STREQ(stream.GetFileName(), file.GetPath());
        ASSERT_TRUE(stream.OpenFile());
        ReadAll(stream, lines);
        std::vector<std::string> expected{"own"};
        expected.insert(expected.end(), test.appended.begin(), test.appended.end());
        EXPECT_EQ(Elements(lines), expected);
    }
    CStringArray lines;
    for (const CString& strName : {CString(""), ScriptTestFile("gone").GetPath()}) {
        CCodeGlobalEventStream stream(strName, lines);
        EXPECT_FALSE(stream.OpenFile());
        ReadAll(stream, lines);
    }
    EXPECT_EQ(lines.GetSize(), 0);
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
    ReadAll(firstStream, lines);
    EXPECT_EQ(secondStream.GetCurrentLineCount(), 3u);
    ReadAll(secondStream, lines);
    EXPECT_EQ(Elements(lines), (std::vector<std::string>{"f1\n", "f2\n", "f3\n", "s1\n", "s2\n"}));
}

TEST(CCodeGlobalEventStreamTest, CopySharesFileAndArray) {
    ScriptTestFile file("1\n2\n3\n");
    CStringArray lines;
    auto source = std::make_unique<CCodeGlobalEventStream>(file.GetPath(), lines);
    ASSERT_TRUE(source->OpenFile());
    char line[CCodeStream::LineBufferSize];
    ASSERT_TRUE(source->GetNextLine(line));
    CCodeGlobalEventStream copy(*source);
    ASSERT_TRUE(copy.GetNextLine(line));
    EXPECT_STREQ(line, "2\n");
    // Destroying the source neither closes the copy's file nor touches the array.
    source.reset();
    ReadAll(copy, lines);
    EXPECT_EQ(Elements(lines), (std::vector<std::string>{"1\n", "2\n", "3\n"}));
}

} // namespace
