#include <bwcore/script/CCodeFileStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kBufferSize = CCodeStream::LineBufferSize;
constexpr char kSentinel = '\x55';

// Exposes the shared handle, to check how copies hold it.
class FileStreamProbe : public CCodeFileStream {
public:
    using CCodeFileStream::CCodeFileStream;
    FILE* GetHandle() const { return m_pFile.get(); }
    long GetHandleUsers() const { return m_pFile.use_count(); }
};

// A line buffer with one guard byte past its end; every byte starts as the sentinel.
struct LineBuffer {
    char bytes[kBufferSize + 1];
    LineBuffer() { std::memset(bytes, kSentinel, sizeof(bytes)); }
    bool IsUntouched() const {
        for (char byte : bytes) {
            if (byte != kSentinel) {
                return false;
            }
        }
        return true;
    }
};

// Reads every line the stream delivers, checking that nothing is written past each terminator:
// the last byte written must be a zero byte, with only sentinel bytes after it.
std::vector<std::string> ReadAll(CCodeStream& stream) {
    std::vector<std::string> lines;
    for (;;) {
        LineBuffer buffer;
        if (!stream.GetNextLine(buffer.bytes)) {
            EXPECT_TRUE(buffer.IsUntouched()) << "a failed read wrote to the buffer";
            return lines;
        }
        EXPECT_EQ(buffer.bytes[kBufferSize], kSentinel) << "written past the buffer";
        int nLast = kBufferSize;
        while (nLast >= 0 && buffer.bytes[nLast] == kSentinel) {
            --nLast;
        }
        EXPECT_TRUE(nLast >= 0 && buffer.bytes[nLast] == '\0') << "written past the terminator";
        lines.emplace_back(buffer.bytes);
    }
}

std::vector<std::string> ReadFile(const std::string& bytes) {
    ScriptTestFile file(bytes);
    CCodeFileStream stream(file.GetPath());
    EXPECT_TRUE(stream.OpenFile());
    return ReadAll(stream);
}

std::string Repeat(char ch, size_t count) {
    return std::string(count, ch);
}

TEST(CCodeFileStreamTest, EmptyNameFailsWithoutOpening) {
    CCodeFileStream stream("");
    EXPECT_FALSE(stream.OpenFile());
    EXPECT_TRUE(ReadAll(stream).empty());
}

TEST(CCodeFileStreamTest, MissingFileFails) {
    const CString path = [] {
        ScriptTestFile file("gone");
        return file.GetPath();
    }();
    CCodeFileStream stream(path);
    EXPECT_FALSE(stream.OpenFile());
    EXPECT_TRUE(ReadAll(stream).empty());
}

TEST(CCodeFileStreamTest, UnopenedStreamDeliversNothing) {
    ScriptTestFile file("line\n");
    CCodeFileStream stream(file.GetPath());
    EXPECT_TRUE(ReadAll(stream).empty());
}

TEST(CCodeFileStreamTest, KeepsNameAndCountsNoLines) {
    ScriptTestFile file("a\nb\n");
    CCodeFileStream stream(file.GetPath());
    EXPECT_STREQ(stream.GetFileName(), file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    EXPECT_EQ(ReadAll(stream).size(), 2u);
    EXPECT_EQ(stream.GetCurrentLineCount(), 0u);
}

// Lines arrive as text mode delivers them: CR LF as LF, the cut at 2047 bytes made after that
// translation, nothing from a Ctrl-Z on.
TEST(CCodeFileStreamTest, DeliversLinesAsTextMode) {
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", "", {}},
        {"line feeds", "a\nb\n", {"a\n", "b\n"}},
        {"last line without line end", "a\nb", {"a\n", "b"}},
        {"empty lines", "\n\n", {"\n", "\n"}},
        {"CR LF", "a\r\nb\r\n", {"a\n", "b\n"}},
        {"lone CR stays", "a\rb\n", {"a\rb\n"}},
        {"CR at the end of the file", "a\r", {"a\r"}},
        {"CR CR LF", "a\r\r\n", {"a\r\n"}},
        {"LF CR", "a\n\rb", {"a\n", "\rb"}},
        {"5000-byte line",
         Repeat('x', 4999) + "\n",
         {Repeat('x', 2047), Repeat('x', 2047), Repeat('x', 905) + "\n"}},
        {"5000-byte line with CR LF",
         Repeat('x', 4999) + "\r\n",
         {Repeat('x', 2047), Repeat('x', 2047), Repeat('x', 905) + "\n"}},
        {"2047 bytes with LF", Repeat('x', 2046) + "\n" + "y", {Repeat('x', 2046) + "\n", "y"}},
        {"CR LF translated before the cut",
         Repeat('x', 2046) + "\r\n" + "y",
         {Repeat('x', 2046) + "\n", "y"}},
        {"lone CR as the 2047th byte",
         Repeat('x', 2046) + "\r" + "y\n",
         {Repeat('x', 2046) + "\r", "y\n"}},
        {"LF as the 2048th byte", Repeat('x', 2047) + "\n", {Repeat('x', 2047), "\n"}},
        {"CR LF after 2047 bytes", Repeat('x', 2047) + "\r\n", {Repeat('x', 2047), "\n"}},
        {"lone CR counted before the cut",
         Repeat('x', 2045) + "\ra\r\n",
         {Repeat('x', 2045) + "\ra", "\n"}},
        {"Ctrl-Z ends the file",
         "a\nb\x1A"
         "c\nd\n",
         {"a\n", "b"}},
        {"Ctrl-Z at the start",
         "\x1A"
         "a\n",
         {}},
        {"Ctrl-Z after CR", "a\r\x1A\n", {"a\r"}},
        {"Ctrl-Z on a line of its own", "a\n\x1A\nb\n", {"a\n"}},
        {"zero byte ends the text of its line", std::string("a\0b\nc\n", 6), {"a", "c\n"}},
        {"Ctrl-Z after a zero byte",
         std::string("a\0\x1A"
                     "b\nc\n",
                     7),
         {"a"}},
        {"zero byte in a line cut at a CR LF",
         Repeat('x', 2000) + '\0' + Repeat('x', 45) + "\r\ny",
         {Repeat('x', 2000), "y"}},
        {"zero byte in a line cut before a lone CR",
         Repeat('x', 2000) + '\0' + Repeat('x', 46) + "\ry\n",
         {Repeat('x', 2000), "\ry\n"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(ReadFile(test.bytes), test.lines);
    }
}

TEST(CCodeFileStreamTest, StaysAtCtrlZ) {
    ScriptTestFile file("a\n\x1A"
                        "b\n");
    CCodeFileStream stream(file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    EXPECT_EQ(ReadAll(stream), std::vector<std::string>{"a\n"});
    EXPECT_TRUE(ReadAll(stream).empty());
}

TEST(CCodeFileStreamTest, CopiesShareTheHandleAndItsPosition) {
    ScriptTestFile file("1\n2\n3\n4\n");
    auto source = std::make_unique<FileStreamProbe>(file.GetPath());
    ASSERT_TRUE(source->OpenFile());
    char line[kBufferSize];
    ASSERT_TRUE(source->GetNextLine(line));
    EXPECT_STREQ(line, "1\n");

    FileStreamProbe copy(*source);
    EXPECT_EQ(copy.GetHandle(), source->GetHandle());
    EXPECT_EQ(copy.GetHandleUsers(), 2);
    EXPECT_STREQ(copy.GetFileName(), file.GetPath());
    ASSERT_TRUE(copy.GetNextLine(line));
    EXPECT_STREQ(line, "2\n");
    ASSERT_TRUE(source->GetNextLine(line));
    EXPECT_STREQ(line, "3\n");

    // The source's destruction leaves the handle open for the copy.
    source.reset();
    EXPECT_EQ(copy.GetHandleUsers(), 1);
    EXPECT_EQ(ReadAll(copy), std::vector<std::string>{"4\n"});
}

TEST(CCodeFileStreamTest, AssignmentReleasesTheOldHandle) {
    ScriptTestFile first("first\n");
    ScriptTestFile second("second\n");
    FileStreamProbe target(first.GetPath());
    ASSERT_TRUE(target.OpenFile());
    FileStreamProbe keeper(target);
    FileStreamProbe source(second.GetPath());
    ASSERT_TRUE(source.OpenFile());

    target = source;
    EXPECT_STREQ(target.GetFileName(), second.GetPath());
    EXPECT_EQ(target.GetHandle(), source.GetHandle());
    EXPECT_EQ(keeper.GetHandleUsers(), 1);
    EXPECT_EQ(ReadAll(target), std::vector<std::string>{"second\n"});
    EXPECT_EQ(ReadAll(keeper), std::vector<std::string>{"first\n"});

    const FileStreamProbe& alias = target;
    target = alias;
    EXPECT_EQ(target.GetHandleUsers(), 2);
}

TEST(CCodeFileStreamTest, CopyOfUnopenedStreamIsUnopened) {
    ScriptTestFile file("a\n");
    FileStreamProbe source(file.GetPath());
    FileStreamProbe copy(source);
    EXPECT_EQ(copy.GetHandle(), nullptr);
    EXPECT_TRUE(ReadAll(copy).empty());
}

// A second OpenFile starts the file again; a copy made before keeps the first handle.
TEST(CCodeFileStreamTest, OpenFileAgainRestarts) {
    ScriptTestFile file("1\n2\n");
    FileStreamProbe stream(file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    char line[kBufferSize];
    ASSERT_TRUE(stream.GetNextLine(line));
    FileStreamProbe copy(stream);

    ASSERT_TRUE(stream.OpenFile());
    EXPECT_NE(stream.GetHandle(), copy.GetHandle());
    EXPECT_EQ(copy.GetHandleUsers(), 1);
    EXPECT_EQ(ReadAll(stream), (std::vector<std::string>{"1\n", "2\n"}));
    EXPECT_EQ(ReadAll(copy), std::vector<std::string>{"2\n"});
}

} // namespace
