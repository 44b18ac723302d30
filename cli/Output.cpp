#include "Output.h"

#include <bwcore/bwcore.h>

#include <ctype.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <charconv>
#include <vector>

namespace {

bool isAscii(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// The terminal reads the locale that the environment names, in the usual order of precedence.
bool textIsUtf8() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string locale(value);
        for (char& c : locale)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return locale.find("utf-8") != std::string::npos ||
               locale.find("utf8") != std::string::npos;
    }
    return false;
}

// Records are written out in pieces of about this size.
const size_t kWriteSize = 1 << 16;

bool needsEscape(unsigned char c) {
    return c < 0x20 || c == '\\';
}

// Whether a byte goes out as it is, whatever the output's code: ASCII that needs no escape.
bool isPlain(unsigned char c) {
    return c >= 0x20 && c < 0x80 && c != '\\';
}

} // namespace

std::string utf8FromAnsi(const char* text) {
    const size_t length = strlen(text);
    if (isAscii(text, length))
        return std::string(text, length);
    const int count = static_cast<int>(length);
    const int units = MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, text, count, wide.data(), units);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

TextOutput& TextOutput::field(const char* text, bool dashIfEmpty) {
    static const bool convert = textIsUtf8();
    if (*text == '\0' && dashIfEmpty) {
        m_buffer += '-';
        return *this;
    }
    // Most fields are plain ASCII: one pass finds that out, and they go in at once.
    const char* end = text;
    while (isPlain(static_cast<unsigned char>(*end)))
        ++end;
    if (*end == '\0') {
        m_buffer.append(text, static_cast<size_t>(end - text));
        return *this;
    }
    std::string converted;
    if (convert && !isAscii(text, strlen(text))) {
        converted = utf8FromAnsi(text);
        text = converted.c_str();
    }
    // Runs of bytes that need no escape go in at once.
    const char* run = text;
    for (const char* p = text;; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c != '\0' && !needsEscape(c))
            continue;
        m_buffer.append(run, static_cast<size_t>(p - run));
        if (c == '\0')
            return *this;
        if (c == '\\') {
            m_buffer += "\\\\";
        } else if (c == '\n') {
            m_buffer += "\\n";
        } else if (c == '\t') {
            m_buffer += "\\t";
        } else {
            char escape[8];
            snprintf(escape, sizeof escape, "\\x%02X", c);
            m_buffer += escape;
        }
        run = p + 1;
    }
}

TextOutput& TextOutput::repeatedField(const char* text, bool dashIfEmpty) {
    if (*text == '\0')
        return field(text, dashIfEmpty);
    if (m_repeatedText != text) {
        m_repeatedText = text;
        const size_t start = m_buffer.size();
        field(text, dashIfEmpty);
        m_repeatedField.assign(m_buffer, start, std::string::npos);
        return *this;
    }
    m_buffer += m_repeatedField;
    return *this;
}

TextOutput& TextOutput::raw(const char* text) {
    m_buffer += text;
    return *this;
}

TextOutput& TextOutput::line(int line, bool countedFromZero) {
    if (line == -1) {
        m_buffer += '-';
        return *this;
    }
    // Written in place: a number made as a string first would cost more than the record.
    const long long shown = countedFromZero ? static_cast<long long>(line) + 1 : line;
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, shown);
    m_buffer.append(digits, static_cast<size_t>(result.ptr - digits));
    return *this;
}

void TextOutput::endLine() {
    m_buffer += '\n';
    if (m_buffer.size() >= kWriteSize)
        write();
}

void TextOutput::write() {
    fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
    m_buffer.clear();
}

void writeJson(const Json& document) {
    const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
    fwrite(text.data(), 1, text.size(), stdout);
    fputc('\n', stdout);
}

bool finishOutput(const char* command) {
    errno = 0;
    if (fflush(stdout) == 0 && !ferror(stdout))
        return true;
    const int error = errno;
    fprintf(stderr, "bwcore %s: cannot write standard output%s%s\n", command,
            error != 0 ? ": " : "", error != 0 ? strerror(error) : "");
    return false;
}
