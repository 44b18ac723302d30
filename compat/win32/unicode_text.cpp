#include "unicode_text.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/strings.h>

#include <limits.h>

#include <new>

namespace bwcompat {

namespace {

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The code point of the UTF-8 character at bytes[0..length), its size in *size; -1 when no valid
// character starts there.
long decode_char(const unsigned char* bytes, size_t length, size_t* size) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        *size = 1;
        return lead;
    }
    size_t count;
    long code;
    long least;
    if ((lead & 0xE0) == 0xC0) {
        count = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return -1;
    }
    if (count > length)
        return -1;
    for (size_t i = 1; i < count; ++i) {
        if (!is_continuation(bytes[i]))
            return -1;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return -1;
    *size = count;
    return code;
}

void append_code(long code, std::u16string& out) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

// Decodes bytes[0..length); an invalid byte fails the decoding, or with `lenient` becomes '?'.
bool decode_utf8(const char* text, size_t length, bool lenient, std::u16string& out) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    out.clear();
    out.reserve(length);
    size_t i = 0;
    while (i < length) {
        size_t size = 1;
        const long code = decode_char(bytes + i, length - i, &size);
        if (code < 0) {
            if (!lenient)
                return false;
            out.push_back(u'?');
        } else {
            append_code(code, out);
        }
        i += size;
    }
    return true;
}

} // namespace

bool DecodeUtf8(const char* bytes, size_t length, std::u16string& out) {
    return decode_utf8(bytes, length, false, out);
}

std::string AnsiFromUtf16(const char16_t* units, size_t length) {
    std::string result;
    size_t i = 0;
    while (i < length && units[i] < 0x80)
        ++i;
    if (i == length) {
        // ASCII, the common case, needs no converter.
        result.assign(units, units + length);
        return result;
    }
    // Each unit gives at most two bytes (a double-byte character).
    if (length > INT_MAX / 2)
        throw std::bad_alloc();
    const int count = static_cast<int>(length);
    result.resize(length * 2);
    const int written = WideCharToMultiByte(CP_ACP, 0, units, count, &result[0],
                                            static_cast<int>(result.size()), nullptr, nullptr);
    if (written == 0 && GetLastError() == ERROR_NOT_ENOUGH_MEMORY)
        throw std::bad_alloc();
    result.resize(static_cast<size_t>(written));
    return result;
}

std::u16string Utf16FromUtf8(const char* bytes, size_t length) {
    std::u16string units;
    decode_utf8(bytes, length, true, units);
    return units;
}

std::string AnsiFromUtf8(const std::string& text) {
    return AnsiFromUtf16(Utf16FromUtf8(text.data(), text.size()));
}

std::u16string Utf16FromAnsi(const char* bytes, size_t length) {
    std::u16string result;
    if (length == 0)
        return result;
    if (length > INT_MAX)
        throw std::bad_alloc();
    result.resize(length); // never more units than bytes
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), &result[0],
                                            static_cast<int>(result.size()));
    if (written == 0 && GetLastError() == ERROR_NOT_ENOUGH_MEMORY)
        throw std::bad_alloc();
    result.resize(static_cast<size_t>(written));
    return result;
}

} // namespace bwcompat
