// MultiByteToWideChar and WideCharToMultiByte: the size conventions, the five code pages, and
// what happens to bytes and characters that do not convert.

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

const WCHAR kWideSentinel = 0xBEEF;
const char kSentinel = '#';

// Converts with the size query first, then into a sentinel-filled buffer of exactly that size
// plus spare room, and checks that nothing past the result was written.
std::vector<WCHAR> ToWide(UINT cp, const std::string& bytes, int length) {
    const int size = MultiByteToWideChar(cp, 0, bytes.c_str(), length, nullptr, 0);
    EXPECT_GT(size, 0);
    std::vector<WCHAR> buffer(static_cast<size_t>(size) + 4, kWideSentinel);
    EXPECT_EQ(MultiByteToWideChar(cp, 0, bytes.c_str(), length, buffer.data(), size), size);
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], kWideSentinel) << "written past the result at " << i;
    buffer.resize(static_cast<size_t>(size));
    return buffer;
}

std::string ToBytes(UINT cp, const std::vector<WCHAR>& wide, int length, BOOL* usedDefault,
                    LPCSTR defaultChar = nullptr) {
    const int size =
        WideCharToMultiByte(cp, 0, wide.data(), length, nullptr, 0, defaultChar, usedDefault);
    EXPECT_GT(size, 0);
    std::string buffer(static_cast<size_t>(size) + 4, kSentinel);
    EXPECT_EQ(
        WideCharToMultiByte(cp, 0, wide.data(), length, &buffer[0], size, defaultChar, usedDefault),
        size);
    for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], kSentinel) << "written past the result at " << i;
    buffer.resize(static_cast<size_t>(size));
    return buffer;
}

std::vector<WCHAR> Wide(std::initializer_list<int> units) {
    std::vector<WCHAR> wide;
    for (int unit : units)
        wide.push_back(static_cast<WCHAR>(unit));
    return wide;
}

} // namespace

TEST(MultiByteToWideChar, TerminatedInputCountsTheTerminator) {
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "Hello", -1, nullptr, 0), 6);
    EXPECT_EQ(ToWide(CP_ACP, "Hello", -1), Wide({'H', 'e', 'l', 'l', 'o', 0}));
}

TEST(MultiByteToWideChar, CountedInputGetsNoTerminator) {
    EXPECT_EQ(ToWide(CP_ACP, "Hello", 3), Wide({'H', 'e', 'l'}));
}

TEST(MultiByteToWideChar, TooSmallAnOutput) {
    WCHAR buffer[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "Hello", -1, buffer, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(932, 0, "\x82\xA0\x82\xA2", 4, buffer, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(MultiByteToWideChar, CharactersOfEachCodePage) {
    struct Sample {
        UINT cp;
        const char* bytes;
        std::vector<WCHAR> wide;
    };
    const Sample kSamples[] = {
        {1252, "\xE9\x80\xFF", Wide({0x00E9, 0x20AC, 0x00FF})},
        {1252, "\x81\x8D", Wide({0x0081, 0x008D})}, // undefined bytes: C1 controls
        {932,
         "\x82\xA0\x88\x9F"
         "A",
         Wide({0x3042, 0x4E9C, 'A'})},
        {932, "\xB1\x5C\x81\x5F", Wide({0xFF71, '\\', 0xFF3C})},
        {936, "\xC4\xE3\xBA\xC3", Wide({0x4F60, 0x597D})},
        {949,
         "\xC7\xD1"
         "a",
         Wide({0xD55C, 'a'})},
        {950, "\xA4\xA4\xA4\xE5", Wide({0x4E2D, 0x6587})},
    };
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.cp);
        EXPECT_EQ(ToWide(sample.cp, sample.bytes, -1).size(), sample.wide.size() + 1);
        const int length = static_cast<int>(strlen(sample.bytes));
        EXPECT_EQ(ToWide(sample.cp, sample.bytes, length), sample.wide);
        BOOL usedDefault = TRUE;
        EXPECT_EQ(
            ToBytes(sample.cp, sample.wide, static_cast<int>(sample.wide.size()), &usedDefault),
            sample.bytes);
        EXPECT_FALSE(usedDefault);
    }
}

TEST(MultiByteToWideChar, AnsiCodePageIsTheCurrentOne) {
    const std::string text = "a\x82\xA0\xC4\xE3\xE9z";
    EXPECT_EQ(ToWide(CP_ACP, text, -1), ToWide(GetACP(), text, -1));
}

TEST(MultiByteToWideChar, BytesThatDoNotDecode) {
    // In 932 a lead byte with an invalid trail byte, or with none, is one undecodable character.
    EXPECT_EQ(ToWide(932,
                     "\x82\x20"
                     "a",
                     3),
              Wide({0x30FB, 'a'}));
    EXPECT_EQ(ToWide(932, "\x82\xA0", 1), Wide({0x30FB}));
    EXPECT_EQ(ToWide(932, std::string("\x81\0a", 3), 3), Wide({0x30FB, 0, 'a'}));
    EXPECT_EQ(ToWide(936, "a\x81", 2), Wide({'a', '?'}));
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x82\x20", 2, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x82\xA0", 2, nullptr, 0), 1);
}

TEST(MultiByteToWideChar, RejectsBadArguments) {
    WCHAR buffer[8];
    struct Call {
        UINT cp;
        DWORD flags;
        LPCSTR in;
        int inLength;
        LPWSTR out;
        int outSize;
        DWORD error;
    };
    const Call kCalls[] = {
        {12345, 0, "a", 1, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, nullptr, 1, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "a", 0, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "a", 1, buffer, -1, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "a", 1, nullptr, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0x10, "a", 1, buffer, 8, ERROR_INVALID_FLAGS},
    };
    for (const Call& call : kCalls) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(call.cp, call.flags, call.in, call.inLength, call.out,
                                      call.outSize),
                  0);
        EXPECT_EQ(GetLastError(), call.error);
    }
}

TEST(WideCharToMultiByte, TerminatedInputCountsTheTerminator) {
    const std::vector<WCHAR> wide = Wide({'H', 'i', 0});
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr), 3);
    BOOL usedDefault = TRUE;
    EXPECT_EQ(ToBytes(CP_ACP, wide, -1, &usedDefault), std::string("Hi", 3));
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(ToBytes(CP_ACP, wide, 1, nullptr), "H");
}

TEST(WideCharToMultiByte, TooSmallAnOutput) {
    const std::vector<WCHAR> wide = Wide({0x3042, 'a'});
    char buffer[4];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.data(), 2, buffer, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.data(), 2, buffer, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WideCharToMultiByte, UnmappableCharactersBecomeTheDefaultCharacter) {
    BOOL usedDefault = FALSE;
    EXPECT_EQ(ToBytes(1252, Wide({'a', 0x4E00, 'b'}), 3, &usedDefault), "a?b");
    EXPECT_TRUE(usedDefault);
    usedDefault = FALSE;
    EXPECT_EQ(ToBytes(1252, Wide({0x4E00}), 1, &usedDefault, "#"), "#");
    EXPECT_TRUE(usedDefault);
    usedDefault = FALSE;
    EXPECT_EQ(ToBytes(932, Wide({0x0E01, 0x3042}), 2, &usedDefault), "?\x82\xA0");
    EXPECT_TRUE(usedDefault);
    // Each half of a surrogate pair is a character the code page lacks.
    usedDefault = FALSE;
    EXPECT_EQ(ToBytes(1252, Wide({0xD83D, 0xDE00}), 2, &usedDefault), "??");
    EXPECT_TRUE(usedDefault);
    // The size query reports it too.
    usedDefault = FALSE;
    const std::vector<WCHAR> wide = Wide({0x0E01, 0});
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.data(), -1, nullptr, 0, nullptr, &usedDefault), 2);
    EXPECT_TRUE(usedDefault);
}

TEST(WideCharToMultiByte, RejectsBadArguments) {
    const std::vector<WCHAR> wide = Wide({'a'});
    char buffer[8];
    struct Call {
        UINT cp;
        DWORD flags;
        LPCWSTR in;
        int inLength;
        LPSTR out;
        int outSize;
        DWORD error;
    };
    const Call kCalls[] = {
        {12345, 0, wide.data(), 1, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, nullptr, 1, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, wide.data(), 0, buffer, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, wide.data(), 1, buffer, -1, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, wide.data(), 1, nullptr, 8, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0x10000, wide.data(), 1, buffer, 8, ERROR_INVALID_FLAGS},
    };
    for (const Call& call : kCalls) {
        SetLastError(0);
        EXPECT_EQ(WideCharToMultiByte(call.cp, call.flags, call.in, call.inLength, call.out,
                                      call.outSize, nullptr, nullptr),
                  0);
        EXPECT_EQ(GetLastError(), call.error);
    }
}

TEST(WideCharToMultiByte, Utf8JoinsSurrogatePairsAndReplacesLoneHalves) {
    const std::vector<WCHAR> wide = Wide({'A', 0xE9, 0x3042, 0xD83D, 0xDE00, 0xD800, 'z'});
    EXPECT_EQ(ToBytes(CP_UTF8, wide, 7, nullptr),
              "A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\xEF\xBF\xBDz");
}
