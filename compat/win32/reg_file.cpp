#include "reg_file.h"

#include <bwcore/win32/registry.h>

#include "unicode_text.h"

#include <utility>
#include <vector>

namespace bwcompat {

namespace {

using Text = std::u16string;

// The text of the file as UTF-16, whatever its encoding.
Text decode_file(const std::string& bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
        Text text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(byte(i) | (byte(i + 1) << 8)));
        return text;
    }
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return Utf16FromUtf8(bytes.data() + 3, bytes.size() - 3);
    Text text;
    if (DecodeUtf8(bytes.data(), bytes.size(), text))
        return text;
    return Utf16FromAnsi(bytes.data(), bytes.size());
}

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t';
}

int hex_digit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Whether `text` at `pos` starts with the ASCII `word`, letters compared without case.
bool starts_with_word(const Text& text, size_t pos, const char* word) {
    for (; *word != '\0'; ++word, ++pos) {
        if (pos >= text.size())
            return false;
        char16_t c = text[pos];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != static_cast<char16_t>(*word))
            return false;
    }
    return true;
}

class LineReader {
public:
    explicit LineReader(const Text& text) : text_(text) {}

    // The next line without its line end; false at the end of the text.
    bool Next(Text& line) {
        if (pos_ >= text_.size())
            return false;
        size_t end = pos_;
        while (end < text_.size() && text_[end] != u'\n' && text_[end] != u'\r')
            ++end;
        line.assign(text_, pos_, end - pos_);
        if (end < text_.size() && text_[end] == u'\r' && end + 1 < text_.size() &&
            text_[end + 1] == u'\n')
            ++end;
        pos_ = end + 1;
        return true;
    }

private:
    const Text& text_;
    size_t pos_ = 0;
};

void trim_right(Text& line) {
    while (!line.empty() && is_blank(line.back()))
        line.pop_back();
}

size_t skip_blanks(const Text& line, size_t pos) {
    while (pos < line.size() && is_blank(line[pos]))
        ++pos;
    return pos;
}

// Whether nothing but blanks and a comment follow `pos`.
bool rest_is_empty(const Text& line, size_t pos) {
    pos = skip_blanks(line, pos);
    return pos == line.size() || line[pos] == u';';
}

// The quoted text that starts at `pos` (a quote), its escapes resolved; `pos` is left after the
// closing quote. False when the quote is not closed on the line.
bool read_quoted(const Text& line, size_t& pos, Text& out) {
    out.clear();
    for (size_t i = pos + 1; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == u'"') {
            pos = i + 1;
            return true;
        }
        if (c == u'\\' && i + 1 < line.size()) {
            const char16_t next = line[i + 1];
            if (next == u'\\' || next == u'"' || next == u'n') {
                out.push_back(next == u'n' ? u'\n' : next);
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return false;
}

// The bytes written as hex pairs separated by commas from `pos` to the end of the data.
bool read_hex_bytes(const Text& line, size_t pos, std::string& out) {
    out.clear();
    pos = skip_blanks(line, pos);
    while (pos < line.size() && line[pos] != u';') {
        int value = 0;
        int digits = 0;
        while (pos < line.size() && hex_digit(line[pos]) >= 0 && digits < 2) {
            value = value * 16 + hex_digit(line[pos++]);
            ++digits;
        }
        if (digits == 0)
            return false;
        out.push_back(static_cast<char>(value));
        pos = skip_blanks(line, pos);
        if (pos < line.size() && line[pos] == u',')
            pos = skip_blanks(line, pos + 1);
        else if (!rest_is_empty(line, pos))
            return false;
    }
    return true;
}

bool is_text_type(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class RegFileReader {
public:
    RegFileReader(RegistryKey& root, bool unicodeBytes)
        : root_(root), unicodeBytes_(unicodeBytes) {}

    void ReadLine(Text& line, LineReader& lines) {
        const size_t start = skip_blanks(line, 0);
        if (start == line.size() || line[start] == u';')
            return;
        if (line[start] == u'[') {
            ReadKey(line, start);
        } else if (line[start] == u'"' || line[start] == u'@') {
            trim_right(line);
            Text next;
            while (!line.empty() && line.back() == u'\\' && lines.Next(next)) {
                line.pop_back();
                line.append(next, skip_blanks(next, 0), Text::npos);
                trim_right(line);
            }
            if (current_ != nullptr)
                ReadValue(line, start);
        }
    }

private:
    // The key named in a key line; null when it is malformed or outside the classes root.
    void ReadKey(const Text& line, size_t start) {
        current_ = nullptr;
        const size_t close = line.rfind(u']');
        if (close == Text::npos || close <= start)
            return;
        size_t pos = start + 1;
        const bool remove = pos < close && line[pos] == u'-';
        if (remove)
            ++pos;
        std::vector<std::string> names;
        while (pos < close) {
            size_t end = line.find(u'\\', pos);
            if (end == Text::npos || end > close)
                end = close;
            if (end > pos)
                names.push_back(AnsiFromUtf16(line.data() + pos, end - pos));
            pos = end + 1;
        }
        const size_t first = ClassesRootNames(names);
        if (first == 0)
            return;
        if (remove) {
            RemoveKey(names, first);
            return;
        }
        RegistryKey* key = &root_;
        for (size_t i = first; i < names.size(); ++i)
            key = &key->Open(names[i]);
        current_ = key;
    }

    // How many of the names lead to the classes root (0 when they lead elsewhere).
    static size_t ClassesRootNames(const std::vector<std::string>& names) {
        if (names.empty())
            return 0;
        const std::string root = FoldName(names[0]);
        if (root == "HKEY_CLASSES_ROOT" || root == "HKCR")
            return 1;
        if (root == "HKEY_LOCAL_MACHINE" || root == "HKLM" || root == "HKEY_CURRENT_USER" ||
            root == "HKCU") {
            if (names.size() >= 3 && FoldName(names[1]) == "SOFTWARE" &&
                FoldName(names[2]) == "CLASSES")
                return 3;
        }
        return 0;
    }

    void RemoveKey(const std::vector<std::string>& names, size_t first) {
        if (first == names.size())
            return; // the classes root itself stays
        RegistryKey* parent = &root_;
        for (size_t i = first; parent != nullptr && i + 1 < names.size(); ++i)
            parent = parent->FindOwn(names[i]);
        if (parent != nullptr)
            parent->Remove(names.back());
    }

    void ReadValue(const Text& line, size_t pos) {
        std::string name;
        if (line[pos] == u'@') {
            ++pos;
        } else {
            Text quoted;
            if (!read_quoted(line, pos, quoted))
                return;
            name = AnsiFromUtf16(quoted);
        }
        pos = skip_blanks(line, pos);
        if (pos == line.size() || line[pos] != u'=')
            return;
        pos = skip_blanks(line, pos + 1);
        if (pos == line.size())
            return;
        RegistryValue value;
        if (line[pos] == u'-') {
            if (rest_is_empty(line, pos + 1))
                current_->RemoveValue(name);
            return;
        }
        if (ReadData(line, pos, value))
            current_->SetValue(name, std::move(value));
    }

    bool ReadData(const Text& line, size_t pos, RegistryValue& value) {
        if (line[pos] == u'"') {
            Text text;
            if (!read_quoted(line, pos, text) || !rest_is_empty(line, pos))
                return false;
            value.type = REG_SZ;
            value.data = AnsiFromUtf16(text);
            value.data.push_back('\0');
            return true;
        }
        if (starts_with_word(line, pos, "dword:")) {
            pos += 6;
            DWORD number = 0;
            int digits = 0;
            for (; pos < line.size() && hex_digit(line[pos]) >= 0; ++pos, ++digits)
                number = number * 16 + static_cast<DWORD>(hex_digit(line[pos]));
            if (digits == 0 || digits > 8 || !rest_is_empty(line, pos))
                return false;
            value.type = REG_DWORD;
            for (int i = 0; i < 4; ++i)
                value.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
            return true;
        }
        if (!starts_with_word(line, pos, "hex"))
            return false;
        pos += 3;
        value.type = REG_BINARY;
        if (pos < line.size() && line[pos] == u'(') {
            DWORD type = 0;
            int digits = 0;
            for (++pos; pos < line.size() && hex_digit(line[pos]) >= 0; ++pos, ++digits)
                type = type * 16 + static_cast<DWORD>(hex_digit(line[pos]));
            if (digits == 0 || digits > 8 || pos == line.size() || line[pos] != u')')
                return false;
            value.type = type;
            ++pos;
        }
        if (pos == line.size() || line[pos] != u':')
            return false;
        if (!read_hex_bytes(line, pos + 1, value.data))
            return false;
        if (unicodeBytes_ && is_text_type(value.type)) {
            Text units;
            for (size_t i = 0; i + 1 < value.data.size(); i += 2)
                units.push_back(
                    static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                          (static_cast<unsigned char>(value.data[i + 1]) << 8)));
            value.data = AnsiFromUtf16(units);
        }
        return true;
    }

    RegistryKey& root_;
    const bool unicodeBytes_;        // text types' bytes are UTF-16LE (version 5)
    RegistryKey* current_ = nullptr; // where values go; null passes them over
};

} // namespace

void ReadRegFile(const std::string& bytes, RegistryKey& classesRoot) {
    const Text text = decode_file(bytes);
    LineReader lines(text);
    Text line;
    if (!lines.Next(line))
        return;
    trim_right(line);
    bool unicodeBytes;
    if (line == u"REGEDIT4")
        unicodeBytes = false;
    else if (line == u"Windows Registry Editor Version 5.00")
        unicodeBytes = true;
    else
        return;
    RegFileReader reader(classesRoot, unicodeBytes);
    while (lines.Next(line))
        reader.ReadLine(line, lines);
}

} // namespace bwcompat
