// MultiByteToWideChar and WideCharToMultiByte: the size conventions, the five code pages, and
// what happens to bytes and characters that do not convert.

#include "FailingAllocator.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// WCHAR is char16_t on Linux and wchar_t on Windows; the cases are written as u"" literals.
using Wide = std::basic_string<WCHAR>;
Wide W(const std::u16string& s) {
    return Wide(s.begin(), s.end());
}

// Converts with the size query first, then into a sentinel-filled buffer with spare room, and
// checks that nothing past the result was written.
Wide ToWide(UINT cp, const std::string& bytes, int length) {
    const int size = MultiByteToWideChar(cp, 0, bytes.c_str(), length, nullptr, 0);
    Wide buffer(static_cast<size_t>(size) + 4, WCHAR('#'));
    EXPECT_EQ(MultiByteToWideChar(cp, 0, bytes.c_str(), length, &buffer[0], size), size);
    EXPECT_EQ(buffer.substr(static_cast<size_t>(size)), W(u"####")) << "written past the result";
    return buffer.substr(0, static_cast<size_t>(size));
}

std::string ToBytes(UINT cp, const Wide& wide, int length, BOOL* usedDefault) {
    const WCHAR* in = wide.c_str();
    const int size = WideCharToMultiByte(cp, 0, in, length, nullptr, 0, nullptr, usedDefault);
    std::string buffer(static_cast<size_t>(size) + 4, '#');
    EXPECT_EQ(WideCharToMultiByte(cp, 0, in, length, &buffer[0], size, nullptr, usedDefault), size);
    EXPECT_EQ(buffer.substr(static_cast<size_t>(size)), "####") << "written past the result";
    return buffer.substr(0, static_cast<size_t>(size));
}

} // namespace

TEST(MultiByteToWideChar, SizeConventions) {
    EXPECT_EQ(ToWide(CP_ACP, "Hello", -1), W(std::u16string(u"Hello", 6))); // with the terminator
    EXPECT_EQ(ToWide(CP_ACP, "Hello", 3), W(u"Hel"));
    EXPECT_EQ(ToBytes(CP_ACP, W(u"Hi"), -1, nullptr), std::string("Hi", 3));
    EXPECT_EQ(ToBytes(CP_ACP, W(u"Hi"), 1, nullptr), "H");
    // Too small an output; a double-byte character does not fit in one byte.
    WCHAR wide[4];
    char bytes[4];
    const int results[] = {
        MultiByteToWideChar(CP_ACP, 0, "Hello", -1, wide, 4),
        MultiByteToWideChar(932, 0, "\x82\xA0\x82\xA2", 4, wide, 1),
        WideCharToMultiByte(932, 0, W(u"\u3042a").c_str(), 2, bytes, 1, nullptr, nullptr),
        WideCharToMultiByte(932, 0, W(u"\u3042a").c_str(), 2, bytes, 2, nullptr, nullptr),
    };
    for (int result : results)
        EXPECT_EQ(result, 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(MultiByteToWideChar, CharactersOfEachCodePageBothWays) {
    const struct {
        UINT cp;
        const char* bytes;
        Wide wide;
    } kSamples[] = {
        {1252, "\xE9\x80\xFF", W(u"\u00E9\u20AC\u00FF")},
        {1252, "\x81\x8D", W(u"\u0081\u008D")}, // undefined bytes: C1 controls
        {932,
         "\x82\xA0\x88\x9F"
         "A",
         W(u"\u3042\u4E9CA")},
        {932, "\xB1\x5C\x81\x5F", W(u"\uFF71\\\uFF3C")},
        {936, "\xC4\xE3\xBA\xC3", W(u"\u4F60\u597D")},
        {949,
         "\xC7\xD1"
         "a",
         W(u"\uD55Ca")},
        {950, "\xA4\xA4\xA4\xE5", W(u"\u4E2D\u6587")},
    };
    for (const auto& sample : kSamples) {
        SCOPED_TRACE(sample.cp);
        EXPECT_EQ(ToWide(sample.cp, sample.bytes, static_cast<int>(strlen(sample.bytes))),
                  sample.wide);
        BOOL usedDefault = TRUE;
        EXPECT_EQ(
            ToBytes(sample.cp, sample.wide, static_cast<int>(sample.wide.size()), &usedDefault),
            sample.bytes);
        EXPECT_FALSE(usedDefault);
    }
    const std::string text = "a\x82\xA0\xC4\xE3\xE9z";
    EXPECT_EQ(ToWide(CP_ACP, text, -1), ToWide(GetACP(), text, -1));
}

TEST(MultiByteToWideChar, BytesThatDoNotDecode) {
    // In 932 a lead byte with an invalid trail byte, or with none, is one undecodable character.
    EXPECT_EQ(ToWide(932,
                     "\x82\x20"
                     "a",
                     3),
              W(u"\u30FBa"));
    EXPECT_EQ(ToWide(932, "\x82\xA0", 1), W(u"\u30FB"));
    EXPECT_EQ(ToWide(932, std::string("\x81\0a", 3), 3), W(std::u16string(u"\u30FB\0a", 3)));
    EXPECT_EQ(ToWide(936, "a\x81", 2), W(u"a?"));
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x82\x20", 2, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x82\xA0", 2, nullptr, 0), 1);
}

TEST(WideCharToMultiByte, UnmappableCharactersBecomeTheDefaultCharacter) {
    const struct {
        UINT cp;
        Wide wide;
        std::string bytes;
    } cases[] = {
        {1252, W(u"a\u4E00b"), "a?b"},
        {932, W(u"\u0E01\u3042"), "?\x82\xA0"},
        {1252, W(u"\U0001F600"), "??"}, // each half of a surrogate pair
    };
    for (const auto& c : cases) {
        BOOL usedDefault = FALSE;
        EXPECT_EQ(ToBytes(c.cp, c.wide, static_cast<int>(c.wide.size()), &usedDefault), c.bytes);
        EXPECT_TRUE(usedDefault);
    }
}

TEST(MultiByteToWideChar, RejectsBadArguments) {
    WCHAR buffer[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, buffer, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 1, buffer, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 8), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, nullptr, 1, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0x10, "a", 1, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
}

TEST(WideCharToMultiByte, Utf8JoinsSurrogatePairsAndReplacesLoneHalves) {
    const Wide wide = {u'A', 0xE9, 0x3042, 0xD83D, 0xDE00, 0xD800, u'z'};
    EXPECT_EQ(ToBytes(CP_UTF8, wide, 7, nullptr),
              "A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\xEF\xBF\xBDz");
}

TEST(MultiByteToWideChar, RunningOutOfMemoryIsAFailureNotAnException) {
    // Texts longer than a string holds without allocating; 932 needs the C library's converter.
    const std::string bytes = std::string(40, 'a') + "\x82\xA0";
    const Wide wide = W(std::u16string(40, u'a') + u"\u3042");
    for (UINT cp : {932u, UINT(CP_UTF8)})
        UntilAllocationsSuffice(
            [&] {
                return MultiByteToWideChar(932, 0, bytes.c_str(), -1, nullptr, 0) != 0 &&
                       WideCharToMultiByte(cp, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
            },
            [](bool converted) { return converted; },
            [](DWORD error) { EXPECT_EQ(error, DWORD(ERROR_NOT_ENOUGH_MEMORY)); });
}
