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

#include <random>

namespace {

// The lines of a whole text as the read form defines them, without any chunks: a break is one
// CR or LF together with a CR or LF right after it; the text after the last break is the last
// line unless it starts with the end-of-file mark.
Strings ExpectedLines(const std::string& text) {
    Strings lines;
    if (text.empty())
        return lines;
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    size_t start = 0;
    for (size_t p = 0; p < text.size();) {
        if (!isBreak(text[p++]))
            continue;
        lines.push_back(text.substr(start, p - 1 - start));
        if (p < text.size() && isBreak(text[p]))
            ++p;
        start = p;
    }
    if (start == text.size() || text[start] != 26)
        lines.push_back(text.substr(start));
    return lines;
}

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

struct TextCase {
    const char* name;
    std::string text;
    Strings lines;
};

} // namespace

TEST(FreshProcessLists, FileFunctionsNeedTheSharedListHeap) {
    const char* fresh = getenv("BWCORE_TEST_FRESH_PROCESS");
    if (fresh == nullptr || strcmp(fresh, "1") != 0)
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
    ScopedList strings(StringList({"A"}));
    for (HLIST list : {static_cast<HLIST>(records), static_cast<HLIST>(pointers), HLIST()}) {
        EXPECT_EQ(ListReadFromFile(list, file.path.c_str()), 0);
        EXPECT_EQ(ListWriteToFile(list, file.path.c_str()), 0);
        EXPECT_EQ(ListCount(list), 0u);
    }
    EXPECT_EQ(file.Bytes(), "A\r\nB");
    EXPECT_EQ(ListReadFromFile(strings, nullptr), 0);
    EXPECT_EQ(ListWriteToFile(strings, nullptr), 0);
    const std::string missing = file.path + "_missing";
    EXPECT_EQ(ListReadFromFile(strings, missing.c_str()), 0);
    EXPECT_EQ(ListWriteToFile(strings, (missing + "/list.txt").c_str()), 0);
    EXPECT_EQ(ListCount(strings), 1u);
}

TEST(ListReadFromFile, BreakCombinations) {
    const TextCase cases[] = {
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
        {"zero bytes end an item, not the reading", std::string("A\0B\r\nC", 6), {"A", "C"}},
        // In code page 1252 every byte is a character of its own.
        {"no double-byte characters", "A\x82\nB", {"A\x82", "B"}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadText(c.text), c.lines);
        if (c.text.find('\0') == std::string::npos) {
            EXPECT_EQ(ExpectedLines(c.text), c.lines) << "the test's own model";
        }
    }
}

TEST(ListReadFromFile, LinesAroundTheChunkBoundaries) {
    // The first line ends (or its break straddles) at every offset around byte 8192.
    const Strings breaks = {"\r\n", "\n\r", "\r\r", "\n\n", "\r", "\n", "\r\n\r\n", "\n\n\n"};
    const ListFile file;
    for (size_t length = 8180; length <= 8191; ++length) {
        for (const std::string& lineBreak : breaks) {
            const std::string text = std::string(length, 'a') + lineBreak + "second\r\nthird";
            SCOPED_TRACE(std::to_string(length) + " bytes, break of " +
                         std::to_string(lineBreak.size()));
            EXPECT_EQ(file.Read(text), ExpectedLines(text));
        }
    }
    // Lines of every length, over many chunks.
    std::mt19937 random(1);
    std::string text;
    while (text.size() < 100000) {
        text += std::string(random() % 600, char('a' + random() % 26));
        text += breaks[random() % breaks.size()];
    }
    EXPECT_TRUE(file.Read(text + "last") == ExpectedLines(text + "last"));
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
        EXPECT_EQ(Strings(lines.end() - 2, lines.end()), (Strings{"second", "third"}));
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

TEST(ListStorage, ReadingInsertsAfterTheCurrentNode) {
    const ListFile file;
    file.Write("A\r\nB");
    ScopedList list(StringList({"X", "Y"}));
    ListFirst(list);
    ASSERT_EQ(ListReadFromFile(list, file.path.c_str()), 1);
    EXPECT_EQ(Items(list), (Strings{"X", "A", "B", "Y"}));
    EXPECT_EQ(Text(ListCurrent(list)), "B");
    EXPECT_EQ(FromBuffer("C\r\nD\r\n", list), (Strings{"X", "A", "B", "C", "D", "Y"}));
    EXPECT_EQ(Text(ListCurrent(list)), "D");
}

TEST(ListReadFromFile, LinesTooLongForTheListsHeapAreLeftOut) {
    const int32_t heap = MemHeapCreate(100, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(heap, -1);
    ScopedList anyShared(ListCreate(0)); // the read buffer comes from the shared list heap
    HLIST list = ListCreateEx(0, heap);
    const ListFile file;
    file.Write("A\r\n" + std::string(99, 'x') + "\r\nB");
    EXPECT_EQ(ListReadFromFile(list, file.path.c_str()), 1);
    EXPECT_EQ(Items(list), (Strings{"A", "B"}));
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}

TEST(ListFromBuffer, InsertsTheLinesThatABreakCompletes) {
    const TextCase cases[] = {
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
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FromBuffer(c.text), c.lines);
    }
    // Only the length given is read; a break may pair with a byte beyond it.
    std::string text = "A\r\nB\r\nC\r\n";
    EXPECT_EQ(FromBuffer(text.substr(0, 3)), (Strings{"A"}));
    EXPECT_EQ(FromBuffer(text.substr(0, 2)), Strings{});
    // A length of 0 inserts one empty item and terminates the buffer.
    ScopedList list(ListCreate(0));
    ASSERT_EQ(ListFromBuffer(list, &text[0], 0), 1);
    EXPECT_EQ(Items(list), (Strings{""}));
    EXPECT_EQ(text, std::string("\0\r\nB\r\nC\r\n", 9));
    EXPECT_EQ(ListFromBuffer(nullptr, &text[0], 3), 0);
    EXPECT_EQ(ListFromBuffer(list, nullptr, 3), 0);
}

TEST(ListFromBuffer, RecordAndPointerLists) {
    std::string text = "abcdefg\r\nxy\r\n";
    const uint32_t length = static_cast<uint32_t>(text.size());
    ScopedList records(ListCreate(4));
    ASSERT_EQ(ListFromBuffer(records, &text[0], length), 1);
    ASSERT_EQ(ListCount(records), 2u);
    EXPECT_EQ(memcmp(ListFirst(records), "abcd", 4), 0);
    // The line is terminated in place while it is copied.
    EXPECT_EQ(memcmp(ListNext(records), "xy\0\n", 4), 0);
    // Record bytes beyond the buffer's end are zeros.
    ScopedList wide(ListCreate(16));
    ASSERT_EQ(ListFromBuffer(wide, &text[0], length), 1);
    ASSERT_EQ(ListCount(wide), 2u);
    EXPECT_EQ(memcmp(ListLast(wide), "xy\0\n\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
    // Items too large to copy are refused at once, without memory for each line.
    ScopedList huge(ListCreate(INT32_MAX));
    std::string many(200000, '\n');
    ASSERT_EQ(ListFromBuffer(huge, &many[0], static_cast<uint32_t>(many.size())), 1);
    EXPECT_EQ(ListCount(huge), 0u);
    ScopedList pointers(ListCreate(-1));
    ASSERT_EQ(ListFromBuffer(pointers, &text[0], length), 1);
    EXPECT_EQ(ListCount(pointers), 0u);
}

TEST(ListCopy, CopiesEveryItemIntoNewBlocks) {
    HLIST source = StringList({"A", "B", "C"});
    ListFirst(source);
    ScopedList copy(ListCopy(source));
    ASSERT_NE(static_cast<HLIST>(copy), nullptr);
    EXPECT_EQ(Text(ListCurrent(source)), "C") << "the source's current node moves along";
    EXPECT_EQ(Text(ListCurrent(copy)), "C");
    EXPECT_NE(ListFirst(source), ListFirst(copy));
    ListDestroy(source);
    EXPECT_EQ(Items(copy), (Strings{"A", "B", "C"}));
    // The copies are blocks of the shared list heap.
    void* item = ListCurrent(copy);
    ASSERT_EQ(ListRemove(copy), 1);
    EXPECT_EQ(MemHeapFree(ListGetHeap(), item), 1);

    const int32_t records[] = {10, 20, 30};
    ScopedList recordSource(ListCreate(sizeof(int32_t)));
    for (const int32_t& record : records)
        ListInsert(recordSource, &record);
    ScopedList recordCopy(ListCopy(recordSource));
    EXPECT_EQ(ListGetListSize(recordCopy), 4);
    ASSERT_EQ(ListCount(recordCopy), 3u);
    EXPECT_EQ(memcmp(ListFirst(recordCopy), &records[0], 4), 0);
    EXPECT_EQ(memcmp(ListNext(recordCopy), &records[1], 4), 0);
    EXPECT_EQ(memcmp(ListNext(recordCopy), &records[2], 4), 0);
    ScopedList empty(ListCreate(0));
    ScopedList emptyCopy(ListCopy(empty));
    ASSERT_NE(static_cast<HLIST>(emptyCopy), nullptr);
    EXPECT_EQ(ListCount(emptyCopy), 0u);
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, &empty);
    for (HLIST refused : {static_cast<HLIST>(pointers), HLIST()}) {
        EXPECT_EQ(ListCopy(refused), nullptr);
        EXPECT_EQ(ListCopyEx(refused), nullptr);
    }
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
