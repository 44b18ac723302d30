// List storage: the text written byte for byte, how text is split into lines (every break
// combination, lines across the 8192-byte read chunks, the end-of-file mark), reading from
// buffers, and copying lists.

#include "../win32/TestDirectory.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class ScopedList {
public:
    explicit ScopedList(HLIST list) : list_(list) {}
    ~ScopedList() { ListDestroy(list_); }
    ScopedList(const ScopedList&) = delete;
    ScopedList& operator=(const ScopedList&) = delete;
    operator HLIST() const { return list_; }

private:
    HLIST list_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    fclose(file);
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr) << path;
    if (file == nullptr)
        return bytes;
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

std::string Text(const void* item) {
    return item != nullptr ? std::string(static_cast<const char*>(item)) : std::string("<null>");
}

std::vector<std::string> Items(HLIST list) {
    const HLISTPOS current = ListGetCurrent(list);
    std::vector<std::string> items;
    if (ListCount(list) > 0) {
        ListFirst(list);
        items.push_back(Text(ListCurrent(list)));
        while (!ListIsCurrentLast(list)) {
            ListNext(list);
            items.push_back(Text(ListCurrent(list)));
        }
    }
    if (current != nullptr)
        ListSetCurrent(list, current);
    return items;
}

HLIST StringList(const Strings& texts) {
    HLIST list = ListCreate(0);
    for (const std::string& text : texts)
        EXPECT_EQ(ListInsert(list, text.c_str()), 1);
    return list;
}

// The lines of a whole text as the read form defines them, without any chunks: a break is one
// CR or LF together with a CR or LF right after it; the text after the last break is the last
// line unless it starts with the end-of-file mark.
Strings ExpectedLines(const std::string& text) {
    Strings lines;
    if (text.empty())
        return lines;
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    size_t start = 0;
    size_t p = 0;
    while (p < text.size()) {
        if (!isBreak(text[p])) {
            ++p;
            continue;
        }
        lines.push_back(text.substr(start, p - start));
        ++p;
        if (p < text.size() && isBreak(text[p]))
            ++p;
        start = p;
    }
    const std::string last = text.substr(start);
    if (last.empty() || last[0] != 26)
        lines.push_back(last);
    return lines;
}

Strings ReadFile(const std::string& path) {
    ScopedList list(ListCreate(0));
    EXPECT_EQ(ListReadFromFile(list, path.c_str()), 1);
    return Items(list);
}

Strings ReadText(const std::string& text) {
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, text);
    return ReadFile(path);
}

Strings FromBuffer(std::string text, HLIST list = nullptr) {
    ScopedList own(list == nullptr ? ListCreate(0) : nullptr);
    HLIST target = list != nullptr ? list : static_cast<HLIST>(own);
    const std::string before = text;
    EXPECT_EQ(ListFromBuffer(target, &text[0], static_cast<uint32_t>(text.size())), 1);
    EXPECT_EQ(text, before) << "the buffer is left as it was";
    return Items(target);
}

bool InFreshProcess() {
    const char* fresh = getenv("BWCORE_TEST_FRESH_PROCESS");
    return fresh != nullptr && strcmp(fresh, "1") == 0;
}

} // namespace

TEST(FreshProcessLists, FileFunctionsNeedTheSharedListHeap) {
    if (!InFreshProcess())
        GTEST_SKIP() << "needs a process without lists (runtime_tests_fresh_lists)";
    ASSERT_EQ(ListGetHeap(), -1);
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, "A\r\nB");
    const int32_t heap = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(heap, -1);
    HLIST list = ListCreateEx(0, heap);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListGetHeap(), -1) << "a list in a heap of its own does not create the shared heap";
    EXPECT_EQ(ListReadFromFile(list, path.c_str()), 0);
    EXPECT_EQ(ListCount(list), 0u);
    ListInsert(list, "X");
    EXPECT_EQ(ListWriteToFile(list, path.c_str()), 0);
    EXPECT_EQ(ReadBytes(path), "") << "the file was replaced before the buffer was asked for";

    HLIST shared = ListCreate(0);
    ASSERT_NE(shared, nullptr);
    EXPECT_NE(ListGetHeap(), -1);
    EXPECT_EQ(ListWriteToFile(list, path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), "X");
    ListDestroy(shared);
    ListDestroy(list);
    MemHeapDestroy(heap);
}

TEST(ListWriteToFile, ItemsSeparatedByCrLfWithoutATrailingBreak) {
    ScopedList list(StringList({"A", "B", "C"}));
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, std::string(100, 'z'));
    ListFirst(list);
    ASSERT_EQ(ListWriteToFile(list, path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), std::string("A\r\nB\r\nC", 7));
    EXPECT_EQ(Text(ListCurrent(list)), "C");
    EXPECT_EQ(ReadFile(path), (Strings{"A", "B", "C"}));
}

TEST(ListWriteToFile, EmptyListAndEmptyItems) {
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    {
        ScopedList list(ListCreate(0));
        WriteBytes(path, "old contents");
        ASSERT_EQ(ListWriteToFile(list, path.c_str()), 1);
        EXPECT_EQ(ReadBytes(path), "");
        EXPECT_EQ(ReadFile(path), Strings{});
    }
    {
        ScopedList list(StringList({"", "x", ""}));
        ASSERT_EQ(ListWriteToFile(list, path.c_str()), 1);
        EXPECT_EQ(ReadBytes(path), "\r\nx\r\n");
        EXPECT_EQ(ReadFile(path), (Strings{"", "x", ""}));
    }
}

TEST(ListWriteToFile, StopsAtTheFirstNodeWithoutAnItem) {
    ScopedList list(StringList({"A", "B", "C"}));
    // An update that cannot be stored leaves B's node without an item.
    ListSetCurIndex(list, 1);
    const std::string tooLong(65000, 'x');
    ListUpdate(list, const_cast<char*>(tooLong.c_str()));
    ASSERT_EQ(ListCurrent(list), nullptr);
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    ASSERT_EQ(ListWriteToFile(list, path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), "A");
    EXPECT_EQ(Text(ListCurrent(list)), "A") << "current ends on the last item written";
}

TEST(ListWriteToFile, LongItemsAreWrittenWhole) {
    const Strings items = {std::string(1024, 'a'), std::string(1022, 'b'), std::string(1023, 'c'),
                           std::string(5000, 'd'), "e"};
    ScopedList list(StringList(items));
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    ASSERT_EQ(ListWriteToFile(list, path.c_str()), 1);
    std::string expected = items[0];
    for (size_t i = 1; i < items.size(); ++i)
        expected += "\r\n" + items[i];
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(ReadFile(path), items);
}

TEST(ListWriteToFile, RefusedForOtherKindsAndMissingFolders) {
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    ScopedList records(ListCreate(4));
    ScopedList pointers(ListCreate(-1));
    ScopedList strings(StringList({"A"}));
    EXPECT_EQ(ListWriteToFile(records, path.c_str()), 0);
    EXPECT_EQ(ListWriteToFile(pointers, path.c_str()), 0);
    EXPECT_EQ(ListWriteToFile(nullptr, path.c_str()), 0);
    EXPECT_EQ(ListWriteToFile(strings, nullptr), 0);
    EXPECT_EQ(ListWriteToFile(strings, directory.Path("no_such_folder/list.txt").c_str()), 0);
}

struct BreakCase {
    const char* name;
    std::string text;
    Strings lines;
};

TEST(ListReadFromFile, BreakCombinations) {
    const std::vector<BreakCase> cases = {
        {"CR LF", "A\r\nB", {"A", "B"}},
        {"LF CR", "A\n\rB", {"A", "B"}},
        {"CR CR", "A\r\rB", {"A", "B"}},
        {"LF LF", "A\n\nB", {"A", "B"}},
        {"CR LF CR LF", "A\r\n\r\nB", {"A", "", "B"}},
        {"LF CR LF CR", "A\n\r\n\rB", {"A", "", "B"}},
        {"three LF", "A\n\n\nB", {"A", "", "B"}},
        {"CR", "A\rB", {"A", "B"}},
        {"LF", "A\nB\nC", {"A", "B", "C"}},
        {"no break", "A", {"A"}},
        {"empty file", "", {}},
        {"ends with CR LF", "A\r\n", {"A", ""}},
        {"ends with LF", "A\nB\n", {"A", "B", ""}},
        {"only a break", "\r\n", {"", ""}},
        {"starts with a break", "\nA", {"", "A"}},
        {"end-of-file mark", "A\r\n\x1a", {"A"}},
        {"end-of-file mark on a line that a break ends",
         "A\r\n\x1a"
         "B\r",
         {"A",
          "\x1a"
          "B",
          ""}},
        {"end-of-file mark after the break", "A\r\n\x1axyz", {"A"}},
        {"only an end-of-file mark", "\x1a", {}},
        {"end-of-file mark inside the last line", "A\r\nx\x1a", {"A", "x\x1a"}},
        {"end-of-file mark on an earlier line", "\x1a\r\nB", {"\x1a", "B"}},
        {"blanks kept", " a \t\r\n b ", {" a \t", " b "}},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadText(c.text), c.lines);
        EXPECT_EQ(ExpectedLines(c.text), c.lines) << "the test's own model";
    }
}

TEST(ListReadFromFile, LinesAroundTheChunkBoundary) {
    // The first line ends (or its break straddles) at every offset around byte 8192.
    const std::vector<std::string> breaks = {"\r\n", "\n\r", "\r\r",     "\n\n",
                                             "\r",   "\n",   "\r\n\r\n", "\n\n\n"};
    for (size_t length = 8180; length <= 8191; ++length) {
        for (const std::string& lineBreak : breaks) {
            const std::string text = std::string(length, 'a') + lineBreak + "second\r\nthird";
            SCOPED_TRACE("first line " + std::to_string(length) + " bytes, break of " +
                         std::to_string(lineBreak.size()));
            EXPECT_EQ(ReadText(text), ExpectedLines(text));
        }
    }
    // A line that begins in one chunk and ends in the next, whatever its position.
    for (size_t before = 8000; before <= 8192; before += 8) {
        const std::string text = std::string(before, 'h') + "\r\n" + std::string(300, 's') +
                                 "\r\n" + std::string(10, 't');
        SCOPED_TRACE("straddling line after " + std::to_string(before) + " bytes");
        EXPECT_EQ(ReadText(text), ExpectedLines(text));
    }
}

TEST(ListReadFromFile, ManyLinesOfManyLengths) {
    const std::vector<std::string> breaks = {"\r\n", "\n", "\r", "\n\r", "\r\n\r\n", "\n\n"};
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::string text;
        while (text.size() < 100000) {
            const size_t length = random() % 600;
            for (size_t i = 0; i < length; ++i)
                text += static_cast<char>('a' + random() % 26);
            text += breaks[random() % breaks.size()];
        }
        text += "last";
        SCOPED_TRACE(seed);
        const Strings lines = ReadText(text);
        const Strings expected = ExpectedLines(text);
        EXPECT_EQ(lines.size(), expected.size());
        EXPECT_TRUE(lines == expected);
    }
}

TEST(ListReadFromFile, LinesLongerThanAChunkAreReadInPieces) {
    for (size_t length : {8192u, 8193u, 16384u, 20000u}) {
        SCOPED_TRACE(length);
        const std::string line(length, 'L');
        const Strings lines = ReadText(line + "\r\nsecond\r\nthird");
        ASSERT_GE(lines.size(), 3u);
        std::string joined;
        for (size_t i = 0; i + 2 < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 8192u);
            joined += lines[i];
        }
        EXPECT_EQ(joined, line);
        EXPECT_EQ(lines[lines.size() - 2], "second");
        EXPECT_EQ(lines.back(), "third");
    }
}

TEST(ListReadFromFile, ZeroBytesDoNotStopReading) {
    EXPECT_EQ(ReadText(std::string("A\0B\r\nC", 6)), (Strings{"A", "C"}));
}

TEST(ListReadFromFile, InsertsAfterTheCurrentNode) {
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, "A\r\nB");
    ScopedList list(StringList({"X", "Y"}));
    ListFirst(list);
    ASSERT_EQ(ListReadFromFile(list, path.c_str()), 1);
    EXPECT_EQ(Items(list), (Strings{"X", "A", "B", "Y"}));
    EXPECT_EQ(Text(ListCurrent(list)), "B");
}

TEST(ListReadFromFile, RefusedForOtherKindsAndMissingFiles) {
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, "A\r\nB");
    ScopedList records(ListCreate(4));
    ScopedList pointers(ListCreate(-1));
    ScopedList strings(ListCreate(0));
    EXPECT_EQ(ListReadFromFile(records, path.c_str()), 0);
    EXPECT_EQ(ListReadFromFile(pointers, path.c_str()), 0);
    EXPECT_EQ(ListReadFromFile(nullptr, path.c_str()), 0);
    EXPECT_EQ(ListReadFromFile(strings, nullptr), 0);
    EXPECT_EQ(ListReadFromFile(strings, directory.Path("no_such_file.txt").c_str()), 0);
    EXPECT_EQ(ListCount(records), 0u);
    EXPECT_EQ(ListCount(strings), 0u);
}

TEST(ListReadFromFile, ListInAHeapOfItsOwn) {
    const int32_t heap = MemHeapCreate(100, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(heap, -1);
    ScopedList anyShared(ListCreate(0)); // the read buffer comes from the shared list heap
    HLIST list = ListCreateEx(0, heap);
    // Lines too long for the heap are left out; reading goes on.
    const std::string tooLong(99, 'x');
    const TestDirectory directory;
    const std::string path = directory.Path("list.txt");
    WriteBytes(path, "A\r\n" + tooLong + "\r\nB");
    EXPECT_EQ(ListReadFromFile(list, path.c_str()), 1);
    EXPECT_EQ(Items(list), (Strings{"A", "B"}));
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(ListFromBuffer, InsertsTheLinesThatABreakCompletes) {
    const std::vector<BreakCase> cases = {
        {"CR LF after each", "A\r\nB\r\n", {"A", "B"}},
        {"text after the last break", "A\r\nB", {"A"}},
        {"single break byte at the end", "A\r\nB\n", {"A"}},
        {"paired break at the end", "A\nB\n\n", {"A", "B"}},
        {"CR LF CR LF", "A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"no break", "ABC", {}},
        {"only a break byte", "\n", {}},
        {"only a break", "\r\n", {""}},
        {"end-of-file mark is an ordinary line", "\x1a\r\n", {"\x1a"}},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FromBuffer(c.text), c.lines);
    }
}

TEST(ListFromBuffer, ReadsOnlyTheLengthGiven) {
    std::string text = "A\r\nB\r\nC\r\n";
    ScopedList list(ListCreate(0));
    ASSERT_EQ(ListFromBuffer(list, &text[0], 3), 1);
    EXPECT_EQ(Items(list), (Strings{"A"}));
    ScopedList half(ListCreate(0));
    ASSERT_EQ(ListFromBuffer(half, &text[0], 2), 1);
    EXPECT_EQ(ListCount(half), 0u) << "the break may pair with a byte beyond the length";
}

TEST(ListFromBuffer, LengthZeroInsertsOneEmptyItem) {
    char buffer[4] = "abc";
    ScopedList list(ListCreate(0));
    ASSERT_EQ(ListFromBuffer(list, buffer, 0), 1);
    EXPECT_EQ(Items(list), (Strings{""}));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'b');
}

TEST(ListFromBuffer, InsertsAfterTheCurrentNode) {
    ScopedList list(StringList({"X", "Y"}));
    ListFirst(list);
    EXPECT_EQ(FromBuffer("A\r\nB\r\n", list), (Strings{"X", "A", "B", "Y"}));
    EXPECT_EQ(Text(ListCurrent(list)), "B");
}

TEST(ListFromBuffer, RecordAndPointerLists) {
    ScopedList records(ListCreate(4));
    std::string text = "abcdefg\r\nxy\r\n";
    ASSERT_EQ(ListFromBuffer(records, &text[0], static_cast<uint32_t>(text.size())), 1);
    ASSERT_EQ(ListCount(records), 2u);
    EXPECT_EQ(memcmp(ListFirst(records), "abcd", 4), 0);
    // The line is terminated in place while it is copied.
    EXPECT_EQ(memcmp(ListNext(records), "xy\0\n", 4), 0);

    // Record bytes beyond the buffer's end are zeros.
    ScopedList wide(ListCreate(8));
    std::string shortText = "ab\r\n";
    ASSERT_EQ(ListFromBuffer(wide, &shortText[0], 4), 1);
    ASSERT_EQ(ListCount(wide), 1u);
    EXPECT_EQ(memcmp(ListFirst(wide), "ab\0\n\0\0\0\0", 8), 0);

    ScopedList pointers(ListCreate(-1));
    ASSERT_EQ(ListFromBuffer(pointers, &text[0], static_cast<uint32_t>(text.size())), 1);
    EXPECT_EQ(ListCount(pointers), 0u);

    EXPECT_EQ(ListFromBuffer(nullptr, &text[0], 3), 0);
    EXPECT_EQ(ListFromBuffer(records, nullptr, 3), 0);
}

TEST(ListCopy, CopiesEveryItemIntoNewBlocks) {
    HLIST source = StringList({"A", "B", "C"});
    ListFirst(source);
    HLIST copy = ListCopy(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Items(copy), (Strings{"A", "B", "C"}));
    EXPECT_EQ(Text(ListCurrent(source)), "C") << "the source's current node moves along";
    EXPECT_EQ(Text(ListCurrent(copy)), "C");
    EXPECT_EQ(ListGetListSize(copy), 0);
    ListFirst(source);
    ListFirst(copy);
    EXPECT_NE(ListCurrent(source), ListCurrent(copy));
    ListDestroy(source);
    EXPECT_EQ(Items(copy), (Strings{"A", "B", "C"}));
    // The copies are blocks of the shared list heap.
    void* item = ListCurrent(copy);
    ASSERT_EQ(ListRemove(copy), 1);
    EXPECT_EQ(MemHeapFree(ListGetHeap(), item), 1);
    ListDestroy(copy);
}

TEST(ListCopy, RecordsEmptyListsAndRefusals) {
    const int32_t records[] = {10, 20, 30};
    ScopedList source(ListCreate(sizeof(int32_t)));
    for (int32_t record : records)
        ListInsert(source, &record);
    ScopedList copy(ListCopy(source));
    ASSERT_EQ(ListCount(copy), 3u);
    EXPECT_EQ(*static_cast<int32_t*>(ListFirst(copy)), 10);
    EXPECT_EQ(*static_cast<int32_t*>(ListNext(copy)), 20);
    EXPECT_EQ(*static_cast<int32_t*>(ListNext(copy)), 30);

    ScopedList empty(ListCreate(0));
    ScopedList emptyCopy(ListCopy(empty));
    ASSERT_NE(static_cast<HLIST>(emptyCopy), nullptr);
    EXPECT_EQ(ListCount(emptyCopy), 0u);

    int value = 1;
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, &value);
    EXPECT_EQ(ListCopy(pointers), nullptr);
    EXPECT_EQ(ListCopyEx(pointers), nullptr);
    EXPECT_EQ(ListCopy(nullptr), nullptr);
    EXPECT_EQ(ListCopyEx(nullptr), nullptr);
}

TEST(ListCopy, StopsAtTheFirstNodeWithoutAnItem) {
    ScopedList source(StringList({"A", "B", "C"}));
    ListSetCurIndex(source, 1);
    const std::string tooLong(65000, 'x');
    ListUpdate(source, const_cast<char*>(tooLong.c_str()));
    ScopedList copy(ListCopy(source));
    EXPECT_EQ(Items(copy), (Strings{"A"}));
}

TEST(ListCopyEx, CopyLivesInTheSourcesHeap) {
    const int32_t heap = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(heap, -1);
    HLIST source = ListCreateEx(0, heap);
    ListInsert(source, "A");
    ListInsert(source, "B");
    const int32_t created = ListInfo(0, LISTINFO_CREATED);
    HLIST copy = ListCopyEx(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED), created + 1);
    EXPECT_EQ(Items(copy), (Strings{"A", "B"}));
    void* item = ListLast(copy);
    ASSERT_EQ(ListRemove(copy), 1);
    EXPECT_EQ(MemHeapFree(heap, item), 1);
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(ListReadFromFileCp932, TrailByteIsNoBreak) {
    // 0x82 leads a double-byte character in code page 932, so the LF after it is its second byte.
    EXPECT_EQ(ReadText("A\x82\nB\r\nC"), (Strings{"A\x82\nB", "C"}));
    EXPECT_EQ(FromBuffer("A\x82\rB\r\nC"), (Strings{"A\x82\rB"}));
    // A lead byte just before the end of the text is a character of its own.
    EXPECT_EQ(ReadText("A\r\nB\x82"), (Strings{"A", "B\x82"}));
}

TEST(ListReadFromFile, TrailBytesAreSingleCharactersInCodePage1252) {
    EXPECT_EQ(ReadText("A\x82\nB"), (Strings{"A\x82", "B"}));
}
