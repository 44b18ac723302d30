// MultiByteToWideChar and WideCharToMultiByte over the C library's converters (iconv), one
// character at a time, so that characters split exactly as CharNextA splits them and a character
// that does not convert costs only itself. The result goes straight into the caller's buffer and
// nothing is allocated, so a process short of memory still converts.

#include <bwcore/win32/strings.h>

#include <bwcore/win32/errors.h>

#include "codepages.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

using bwcompat::CodePage;

namespace {

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const char kUtf16[] = "UTF-16LE";
const char kUcs2[] = "UCS-2LE";
#else
const char kUtf16[] = "UTF-16BE";
const char kUcs2[] = "UCS-2BE";
#endif

// One iconv descriptor, opened on first use so that ASCII text never needs one.
class Converter {
public:
    Converter(const char* to, const char* from) : to_(to), from_(from) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (cd_ != kClosed)
            iconv_close(cd_);
    }

    // Whether the converter is available; false with the last error set when the C library
    // lacks it or has no memory for it.
    bool Open() {
        if (cd_ == kClosed)
            cd_ = iconv_open(to_, from_);
        if (cd_ == kClosed)
            SetLastError(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        return cd_ != kClosed;
    }

    // Converts all of in[0..inLength) into out; false if any of it does not convert.
    bool Convert(const void* in, size_t inLength, char* out, size_t outSize, size_t* outLength) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(static_cast<const char*>(in));
        char* outPtr = out;
        size_t outLeft = outSize;
        if (iconv(cd_, &inPtr, &inLength, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLength != 0)
            return false;
        *outLength = outSize - outLeft;
        return true;
    }

private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    const char* to_;
    const char* from_;
    iconv_t cd_ = kClosed;
};

// The code unit Windows gives a byte the C library's converter rejects, or 0.
WCHAR ExtraUnitOf(const CodePage& page, BYTE b) {
    for (int i = 0; i < page.extraByteCount; ++i) {
        if (page.extraBytes[i].byte == b)
            return page.extraBytes[i].unit;
    }
    return 0;
}

int ExtraByteOf(const CodePage& page, WCHAR unit) {
    for (int i = 0; i < page.extraByteCount; ++i) {
        if (page.extraBytes[i].unit == unit)
            return page.extraBytes[i].byte;
    }
    return -1;
}

// The result of a conversion: only counted when the caller asks for its size (a buffer size of
// 0), else written into the caller's buffer while it fits. A character is written whole or not
// at all; after a result that does not fit, the buffer holds the characters that did.
template <class Char>
class Output {
public:
    Output(Char* buffer, int size) : buffer_(buffer), size_(static_cast<size_t>(size)) {}

    void Append(const Char* units, size_t count) {
        if (size_ != 0 && !full_) {
            if (length_ + count > size_)
                full_ = true;
            else
                memcpy(buffer_ + length_, units, count * sizeof(Char));
        }
        length_ += count;
    }
    void Append(Char unit) { Append(&unit, 1); }

    // The length written or needed, or 0 with ERROR_INSUFFICIENT_BUFFER.
    int Finish() const {
        if (full_) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        return static_cast<int>(length_);
    }

private:
    Char* buffer_;
    size_t size_;
    size_t length_ = 0;
    bool full_ = false;
};

// Decodes the character in[0..length) of the code page, appending its code units; false if it
// does not decode.
bool DecodeChar(const CodePage& page, Converter& converter, const char* in, int length,
                Output<WCHAR>& out) {
    const BYTE first = static_cast<BYTE>(in[0]);
    if (length == 1 && first < 0x80) {
        out.Append(static_cast<WCHAR>(first));
        return true;
    }
    if (length == 1) {
        if (const WCHAR unit = ExtraUnitOf(page, first)) {
            out.Append(unit);
            return true;
        }
    }
    char units[8];
    size_t unitBytes = 0;
    if (!converter.Convert(in, static_cast<size_t>(length), units, sizeof units, &unitBytes))
        return false;
    for (size_t i = 0; i + 1 < unitBytes; i += 2) {
        WCHAR unit;
        memcpy(&unit, units + i, sizeof unit);
        out.Append(unit);
    }
    return true;
}

// Encodes one UTF-16 code unit in the code page, appending its bytes; false if the code page
// has no character for it (lone halves of surrogate pairs included).
bool EncodeUnit(const CodePage& page, Converter& converter, WCHAR unit, Output<char>& out) {
    if (unit < 0x80) {
        out.Append(static_cast<char>(unit));
        return true;
    }
    const int extra = ExtraByteOf(page, unit);
    if (extra >= 0) {
        out.Append(static_cast<char>(extra));
        return true;
    }
    char bytes[8];
    size_t length = 0;
    if (!converter.Convert(&unit, sizeof unit, bytes, sizeof bytes, &length))
        return false;
    out.Append(bytes, length);
    return true;
}

// The default character: the first character of lpDefaultChar, or '?'.
struct DefaultChar {
    DefaultChar(const CodePage& page, LPCSTR lpDefaultChar) {
        if (lpDefaultChar != nullptr && *lpDefaultChar != '\0') {
            bytes = lpDefaultChar;
            length = static_cast<size_t>(bwcompat::CharLength(page, lpDefaultChar));
        }
    }
    const char* bytes = "?";
    size_t length = 1;
};

// UTF-16 to UTF-8, as Windows converts for CP_UTF8: a surrogate pair becomes one four-byte
// character, a lone half of a pair becomes U+FFFD.
void EncodeUtf8(const WCHAR* units, size_t length, Output<char>& out) {
    for (size_t i = 0; i < length; ++i) {
        uint32_t code = units[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        char bytes[4];
        size_t count = 0;
        if (code < 0x80) {
            bytes[count++] = static_cast<char>(code);
        } else if (code < 0x800) {
            bytes[count++] = static_cast<char>(0xC0 | (code >> 6));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes[count++] = static_cast<char>(0xE0 | (code >> 12));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes[count++] = static_cast<char>(0xF0 | (code >> 18));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        }
        out.Append(bytes, count);
    }
}

} // namespace

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    const bwcompat::CodePage* page = bwcompat::FindCodePage(CodePage);
    if (page == nullptr || lpMultiByteStr == nullptr || cbMultiByte == 0 || cchWideChar < 0 ||
        (cchWideChar > 0 && lpWideCharStr == nullptr) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((dwFlags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // A negative length means up to and including the terminator.
    const size_t length = cbMultiByte < 0 ? strlen(lpMultiByteStr) + 1 : cbMultiByte;
    Converter converter(kUtf16, page->converterName);
    Output<WCHAR> result(lpWideCharStr, cchWideChar);
    size_t i = 0;
    while (i < length) {
        const char* p = lpMultiByteStr + i;
        // The input is split into characters within its own length: a lead byte that is the
        // last byte, or stands before a zero, is a character of one byte.
        const int charLength = *p == '\0' || i + 1 == length ? 1 : bwcompat::CharLength(*page, p);
        if ((charLength > 1 || static_cast<BYTE>(*p) >= 0x80) && !converter.Open())
            return 0;
        if (!DecodeChar(*page, converter, p, charLength, result)) {
            if ((dwFlags & MB_ERR_INVALID_CHARS) != 0) {
                SetLastError(ERROR_NO_UNICODE_TRANSLATION);
                return 0;
            }
            result.Append(page->undecodableUnit);
        }
        i += static_cast<size_t>(charLength);
    }
    return result.Finish();
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    const bwcompat::CodePage* page = bwcompat::FindCodePage(CodePage);
    if ((page == nullptr && CodePage != CP_UTF8) || lpWideCharStr == nullptr || cchWideChar == 0 ||
        cbMultiByte < 0 || (cbMultiByte > 0 && lpMultiByteStr == nullptr) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Best-fit substitutes are never made, so WC_NO_BEST_FIT_CHARS holds anyway; UTF-8 takes no
    // flags.
    const DWORD allowed = CodePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    if ((dwFlags & ~allowed) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t length = static_cast<size_t>(cchWideChar);
    if (cchWideChar < 0) {
        length = 0;
        while (lpWideCharStr[length] != 0)
            ++length;
        ++length;
    }
    if (CodePage == CP_UTF8) {
        // UTF-8 has no default character: asking for one is an invalid parameter.
        if (lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        Output<char> result(lpMultiByteStr, cbMultiByte);
        EncodeUtf8(lpWideCharStr, length, result);
        return result.Finish();
    }
    const DefaultChar defaultChar(*page, lpDefaultChar);
    Converter converter(page->converterName, kUcs2);
    Output<char> result(lpMultiByteStr, cbMultiByte);
    bool usedDefault = false;
    for (size_t i = 0; i < length; ++i) {
        const WCHAR unit = lpWideCharStr[i];
        if (unit >= 0x80 && !converter.Open())
            return 0;
        if (!EncodeUnit(*page, converter, unit, result)) {
            result.Append(defaultChar.bytes, defaultChar.length);
            usedDefault = true;
        }
    }
    if (lpUsedDefaultChar != nullptr)
        *lpUsedDefaultChar = usedDefault;
    return result.Finish();
}
