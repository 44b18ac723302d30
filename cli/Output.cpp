#include "Output.h"

#include <bwcore/bwcore.h>

#include <ctype.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
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

bool needsEscape(unsigned char c) {
    return c < 0x20 || c == '\\';
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

void writeText(const char* text, bool dashIfEmpty) {
    static const bool convert = textIsUtf8();
    if (*text == '\0' && dashIfEmpty) {
        fputc('-', stdout);
        return;
    }
    std::string converted;
    if (convert && !isAscii(text, strlen(text))) {
        converted = utf8FromAnsi(text);
        text = converted.c_str();
    }
    // Runs of bytes that need no escape go out in one piece.
    const char* run = text;
    for (const char* p = text;; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c != '\0' && !needsEscape(c))
            continue;
        fwrite(run, 1, static_cast<size_t>(p - run), stdout);
        if (c == '\0')
            return;
        if (c == '\\')
            fputs("\\\\", stdout);
        else if (c == '\n')
            fputs("\\n", stdout);
        else if (c == '\t')
            fputs("\\t", stdout);
        else
            fprintf(stdout, "\\x%02X", c);
        run = p + 1;
    }
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
