// List storage: the text written byte for byte, how text is split into lines (every break
// combination, lines across the 8192-byte read chunks, the end-of-file mark), reading from
// buffers, and copying lists.

#include "../win32/TestDirectory.h"
#include "CodePage.h"
#include "ListTestSupport.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <numeric>

namespace {

// A list text file in a directory of its own.
class ListFile {
    TestDirectory directory_;

public:
    const std::string path = directory_.Path("list.txt");
    std::string Bytes() const { return directory_.ReadFile("list.txt"); }
    void Write(const std::string& text) const { directory_.WriteFile("list.txt", text); }
    Strings Read(const std::string& text) const {
        Write(text);
        ScopedList list(ListCreate(0));
        EXPECT_EQ(ListReadFromFile(list, path.c_str()), 1);
        return Items(list);
    }
};

Strings ReadText(const std::string& text) {
    return ListFile().Read(text);
}

Strings FromBuffer(std::string text, HLIST list) {
    const std::string before = text;
    EXPECT_EQ(ListFromBuffer(list, &text[0], static_cast<uint32_t>(text.size())), 1);
    EXPECT_EQ(text, before) << "the buffer is left as it was";
    return Items(list);
}

Strings FromBuffer(const std::string& text) {
    ScopedList list(ListCreate(0));
    return FromBuffer(text, list);
}

} // namespace

TEST(FreshProcessLists, FileFunctionsNeedTheSharedListHeap) {
    if (getenv("BWCORE_TEST_FRESH_PROCESS") == nullptr)
        GTEST_SKIP() << "needs a process without lists (runtime_tests_fresh_lists)";
    ASSERT_EQ(ListGetHeap(), -1);
    const ListFile file;
    const int32_t heap = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    HLIST list = ListCreateEx(0, heap);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListGetHeap(), -1) << "a list in a heap of its own does not create the shared heap";
    file.Write("A\r\nB");
    EXPECT_EQ(ListReadFromFile(list, file.path.c_str()), 0);
    ListInsert(list, "X");
    EXPECT_EQ(ListWriteToFile(list, file.path.c_str()), 0);
    EXPECT_EQ(file.Bytes(), "") << "the file was replaced before the buffer was asked for";
    ScopedList shared(ListCreateEx(0, -1));
    ASSERT_NE(ListGetHeap(), -1);
    EXPECT_EQ(ListWriteToFile(list, file.path.c_str()), 1);
    EXPECT_EQ(file.Bytes(), "X");
    MemHeapDestroy(heap);
}

TEST(ListWriteToFile, ItemsSeparatedByCrLfWithoutATrailingBreak) {
    const struct {
        Strings items;
        std::string bytes;
    } cases[] = {
        {{"A", "B", "C"}, "A\r\nB\r\nC"},
        {{}, ""},
        {{"", "x", ""}, "\r\nx\r\n"},
        // Longer than the writer's buffer takes (1024 bytes first, 1022 later): written whole.
        {{std::string(1024, 'a'), std::string(1022, 'b'), std::string(1023, 'c'),
          std::string(5000, 'd'), "e"},
         std::string(1024, 'a') + "\r\n" + std::string(1022, 'b') + "\r\n" +
             std::string(1023, 'c') + "\r\n" + std::string(5000, 'd') + "\r\ne"},
    };
    const ListFile file;
    for (const auto& c : cases) {
        ScopedList list(StringList(c.items));
        ListFirst(list);
        ASSERT_EQ(ListWriteToFile(list, file.path.c_str()), 1);
        EXPECT_EQ(file.Bytes(), c.bytes);
        const std::string last = c.items.empty() ? "<null>" : c.items.back();
        EXPECT_EQ(Text(ListCurrent(list)), last) << "current ends on the last item written";
        EXPECT_EQ(file.Read(c.bytes), c.items);
    }
}

TEST(ListWriteToFile, StopsAtTheFirstNodeWithoutAnItemAndCopiesToo) {
    ScopedList list(StringList({"A", "B", "C"}));
    // An update that cannot be stored leaves B's node without an item.
    ListSetCurIndex(list, 1);
    const std::string tooLong(65000, 'x');
    ListUpdate(list, const_cast<char*>(tooLong.c_str()));
    ASSERT_EQ(ListCurrent(list), nullptr);
    const ListFile file;
    ASSERT_EQ(ListWriteToFile(list, file.path.c_str()), 1);
    EXPECT_EQ(file.Bytes(), "A");
    EXPECT_EQ(Text(ListCurrent(list)), "A") << "current ends on the last item written";
    ScopedList copy(ListCopy(list));
    EXPECT_EQ(Items(copy), (Strings{"A"}));
}

TEST(ListStorage, FileFunctionsRefuseOtherKindsAndMissingFiles) {
    const ListFile file;
    file.Write("A\r\nB");
    ScopedList records(ListCreate(4));
    ScopedList pointers(ListCreate(-1));
    for (HLIST list : {static_cast<HLIST>(records), static_cast<HLIST>(pointers), HLIST()}) {
        EXPECT_EQ(ListReadFromFile(list, file.path.c_str()), 0);
        EXPECT_EQ(ListWriteToFile(list, file.path.c_str()) + ListCount(list), 0u);
    }
    EXPECT_EQ(file.Bytes(), "A\r\nB");
    ScopedList strings(StringList({"A"}));
    const std::string missing = file.path + "_missing";
    EXPECT_EQ(ListReadFromFile(strings, nullptr) + ListWriteToFile(strings, nullptr), 0);
    EXPECT_EQ(ListReadFromFile(strings, missing.c_str()), 0);
    EXPECT_EQ(ListWriteToFile(strings, (missing + "/list.txt").c_str()), 0);
    EXPECT_EQ(ListCount(strings), 1u);
}

TEST(ListStorage, BreakCombinations) {
    // What a file and what a buffer of the text give: a buffer is split as a chunk that more text
    // follows, so the text after its last break, or after a single break byte at its end, is left.
    const struct {
        std::string text;
        Strings fromFile, fromBuffer;
    } cases[] = {
        {"A\r\nB", {"A", "B"}, {"A"}},
        {"A\n\rB\r\n", {"A", "B", ""}, {"A", "B"}},
        {"A\r\rB\n", {"A", "B", ""}, {"A"}},
        {"A\n\nB\n\n", {"A", "B", ""}, {"A", "B"}},
        {"A\r\n\r\nB", {"A", "", "B"}, {"A", ""}},
        {"A\n\r\n\rB", {"A", "", "B"}, {"A", ""}},
        {"A\n\n\nB", {"A", "", "B"}, {"A", ""}},
        {"A\rB\nC", {"A", "B", "C"}, {"A", "B"}},
        {"A", {"A"}, {}},
        {"", {}, {""}},
        {"\n", {"", ""}, {}},
        {"\r\n", {"", ""}, {""}},
        {"\nA", {"", "A"}, {""}},
        // A last line that begins with the end-of-file mark is dropped, whatever follows it.
        {"A\r\n\x1a", {"A"}, {"A"}},
        {"A\r\n\x1axyz", {"A"}, {"A"}},
        {"\x1a", {}, {}},
        {"A\r\n\x1a\r\n", {"A", "\x1a", ""}, {"A", "\x1a"}},
        {"A\r\nx\x1a", {"A", "x\x1a"}, {"A"}},
        {" a \t\r\n b ", {" a \t", " b "}, {" a \t"}},
        {std::string("A\0B\r\nC", 6), {"A", "C"}, {"A"}},
        // In code page 1252 every byte is a character of its own.
        {"A\x82\nB", {"A\x82", "B"}, {"A\x82"}},
    };
    const ListFile file;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(file.Read(c.text), c.fromFile);
        EXPECT_EQ(FromBuffer(c.text), c.fromBuffer);
    }
}

TEST(ListReadFromFile, LinesAroundTheChunkBoundary) {
    // The first line ends, or its break straddles the chunk's end, at every offset around 8192.
    const std::pair<std::string, Strings> breaks[] = {
        {"\r\n", {}},       {"\n\r", {}},     {"\r\r", {}},
        {"\n\n", {}},       {"\r", {}},       {"\n", {}},
        {"\r\n\r\n", {""}}, {"\n\n\n", {""}}, {"\r\n\r\r\n", {"", ""}}};
    const ListFile file;
    for (size_t length = 8180; length <= 8191; ++length) {
        for (const auto& [lineBreak, empty] : breaks) {
            SCOPED_TRACE(std::to_string(length) + " bytes, " + testing::PrintToString(lineBreak));
            Strings lines = {std::string(length, 'a')};
            lines.insert(lines.end(), empty.begin(), empty.end());
            lines.insert(lines.end(), {"second", "third"});
            EXPECT_EQ(file.Read(lines[0] + lineBreak + "second\r\nthird"), lines);
        }
    }
}

TEST(ListReadFromFile, LinesOfEveryLengthOverManyChunks) {
    Strings lines;
    std::string text;
    for (size_t i = 0; text.size() < 100000; ++i) {
        lines.push_back(std::string(i * 7 % 601, char('a' + i % 26)));
        text += lines.back() + "\r\n";
    }
    lines.push_back("");
    EXPECT_TRUE(ReadText(text) == lines);
}

TEST(ListReadFromFile, LinesLongerThanAChunkAreReadInPieces) {
    for (size_t length : {8192u, 8193u, 16384u, 20000u}) {
        const std::string line(length, 'L');
        const Strings lines = ReadText(line + "\r\nsecond\r\nthird");
        EXPECT_EQ(std::accumulate(lines.begin(), lines.end() - 2, std::string()), line) << length;
        EXPECT_EQ(Strings(lines.end() - 2, lines.end()), (Strings{"second", "third"})) << length;
        EXPECT_EQ(lines[0].size(), 8192u) << length;
    }
}

TEST(ListReadFromFileCp932, LongLinesAreCutBeforeALeadByte) {
    BW_REQUIRE_ACP(932);
    // The chunk's last byte leads a double-byte character; so does the byte before it when the
    // line is one byte longer, and the character then ends the chunk whole.
    const std::string kana = "\x82\xa0";
    EXPECT_EQ(ReadText(std::string(8191, 'a') + kana + "\r\nB"),
              (Strings{std::string(8191, 'a'), kana, "B"}));
    EXPECT_EQ(ReadText(std::string(8190, 'a') + kana + "b\r\nB"),
              (Strings{std::string(8190, 'a') + kana, "b", "B"}));
    EXPECT_EQ(ReadText(kana + std::string(8189, 'a') + kana + "\r\nB"),
              (Strings{kana + std::string(8189, 'a'), kana, "B"}));
}

TEST(ListReadFromFileCp932, TrailByteIsNoBreak) {
    BW_REQUIRE_ACP(932);
    // 0x82 leads a double-byte character in code page 932, so the LF after it is its second byte.
    EXPECT_EQ(ReadText("A\x82\nB\r\nC"), (Strings{"A\x82\nB", "C"}));
    EXPECT_EQ(FromBuffer("A\x82\rB\r\nC"), (Strings{"A\x82\rB"}));
    // A lead byte just before the end of the text is a character of its own.
    EXPECT_EQ(ReadText("A\r\nB\x82"), (Strings{"A", "B\x82"}));
}

TEST(ListStorage, ReadingInsertsAfterTheCurrentNodeAndLeavesOutWhatCannotBeStored) {
    // Lines too long for the list's heap are left out and reading goes on; the read buffer comes
    // from the shared list heap all the same.
    const int32_t heap = MemHeapCreate(100, MEMHEAP_EXTENSIBLE);
    ScopedList anyShared(ListCreate(0));
    HLIST list = ListCreateEx(0, heap);
    for (const char* text : {"X", "Y"})
        ListInsert(list, text);
    ListFirst(list);
    const ListFile file;
    file.Write("A\r\n" + std::string(99, 'x') + "\r\nB");
    ASSERT_EQ(ListReadFromFile(list, file.path.c_str()), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "B");
    EXPECT_EQ(FromBuffer("C\r\nD\r\n", list), (Strings{"X", "A", "B", "C", "D", "Y"}));
    EXPECT_EQ(Text(ListCurrent(list)), "D");
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(ListFromBuffer, ReadsTheLengthGiven) {
    // A break may pair with a byte beyond the length.
    std::string text = "A\r\nB\r\nC\r\n";
    EXPECT_EQ(FromBuffer(text.substr(0, 3)), (Strings{"A"}));
    EXPECT_EQ(FromBuffer(text.substr(0, 2)), Strings{});
    // A length of 0 inserts one empty item and terminates the buffer.
    ScopedList list(ListCreate(0));
    ASSERT_EQ(ListFromBuffer(list, &text[0], 0), 1);
    EXPECT_EQ(text, std::string("\0\r\nB\r\nC\r\n", 9));
    EXPECT_EQ(ListFromBuffer(nullptr, &text[0], 3) + ListFromBuffer(list, nullptr, 3), 0);
}

TEST(ListFromBuffer, RecordListsTakeTheItemSizeFromEachLine) {
    // The line is terminated in place while it is copied; bytes beyond the buffer are zeros.
    const struct {
        int32_t itemSize;
        std::string records;
    } cases[] = {{4, std::string("abcdxy\0\n", 8)},
                 {10, std::string("abcdefg\0\nx"
                                  "xy\0\n\0\0\0\0\0\0",
                                  20)},
                 {-1, ""},
                 {INT32_MAX, ""}}; // too large to copy: refused at once, each line
    std::string text = "abcdefg\r\nxy\r\n" + std::string(200000, '\n');
    for (const auto& c : cases) {
        ScopedList list(ListCreate(c.itemSize));
        ASSERT_EQ(ListFromBuffer(list, &text[0], 13), 1);
        std::string records;
        for (void* item = ListFirst(list); item != nullptr; item = ListNext(list))
            records.append(static_cast<const char*>(item), c.itemSize);
        EXPECT_EQ(records, c.records) << c.itemSize;
        EXPECT_EQ(ListFromBuffer(list, &text[0], static_cast<uint32_t>(text.size())), 1);
    }
}

TEST(ListCopy, CopiesEveryItemIntoNewBlocks) {
    const int32_t heap = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    HLIST source = ListCreateEx(0, heap);
    for (const char* text : {"A", "B", "C"})
        ListInsert(source, text);
    ListFirst(source);
    ScopedList copy(ListCopy(source));
    EXPECT_EQ(Text(ListCurrent(source)), "C") << "the source's current node moves along";
    EXPECT_EQ(Text(ListCurrent(copy)), "C");
    const int32_t created = ListInfo(0, LISTINFO_CREATED);
    HLIST copyInHeap = ListCopyEx(source);
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED), created + 1);
    ListDestroy(source);
    EXPECT_EQ(Items(copy), (Strings{"A", "B", "C"}));
    EXPECT_EQ(Items(copyInHeap), (Strings{"A", "B", "C"}));
    // The copies are blocks of the shared list heap, or of the source's heap.
    for (const auto& [list, itsHeap] : {std::make_pair(static_cast<HLIST>(copy), ListGetHeap()),
                                        std::make_pair(copyInHeap, heap)}) {
        void* item = ListFirst(list);
        ASSERT_EQ(ListRemove(list), 1);
        EXPECT_EQ(MemHeapFree(itsHeap, item), 1);
    }
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(ListCopy, RecordsEmptyListsAndRefusals) {
    // Records copy their item size, however many zero bytes they hold.
    const char records[] = "a\0b\0c\0d\0";
    ScopedList source(ListCreate(4));
    ListInsert(source, records);
    ListInsert(source, records + 4);
    ScopedList copy(ListCopy(source));
    ASSERT_EQ(ListCount(copy), 2u);
    EXPECT_EQ(memcmp(ListFirst(copy), records, 4) + memcmp(ListNext(copy), records + 4, 4), 0);
    ScopedList empty(ListCreate(0));
    ScopedList emptyCopy(ListCopy(empty));
    EXPECT_EQ(ListGetListSize(emptyCopy) + ListCount(emptyCopy), 0u);
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, &empty);
    for (HLIST refused : {static_cast<HLIST>(pointers), HLIST()})
        EXPECT_TRUE(ListCopy(refused) == nullptr && ListCopyEx(refused) == nullptr);
}
