// Text that comes from outside the process in UTF-8 or UTF-16 (registry files, the desktop's data
// files), brought into the ANSI code page as the A functions hand it out. Internal to
// compat/win32.
#pragma once

#include <stddef.h>

#include <string>

namespace bwcompat {

// Decodes UTF-8 into UTF-16 (characters above U+FFFF as surrogate pairs); false, with `out`
// unspecified, when the bytes are not valid UTF-8 (overlong forms, surrogates and values above
// U+10FFFF included).
bool DecodeUtf8(const char* bytes, size_t length, std::u16string& out);

// UTF-16 to the ANSI code page; a character the code page lacks becomes '?'. Embedded zeros are
// converted like any other character. Throws std::bad_alloc when memory runs out.
std::string AnsiFromUtf16(const char16_t* units, size_t length);
inline std::string AnsiFromUtf16(const std::u16string& text) {
    return AnsiFromUtf16(text.data(), text.size());
}

// UTF-8 to UTF-16 or to the ANSI code page; each byte that does not decode becomes '?'.
std::u16string Utf16FromUtf8(const char* bytes, size_t length);
std::string AnsiFromUtf8(const std::string& text);

// The ANSI code page to UTF-16; a byte sequence that does not decode becomes the code page's
// replacement character, as MultiByteToWideChar makes it.
std::u16string Utf16FromAnsi(const char* bytes, size_t length);

} // namespace bwcompat
