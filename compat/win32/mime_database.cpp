#include "mime_database.h"

#include <bwcore/win32/registry.h>

#include "unicode_text.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace bwcompat {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// The directories of a search path variable, or of its default when it is unset or empty.
void append_dirs(const char* variable, const char* fallback, std::vector<std::string>& dirs) {
    const char* value = getenv(variable);
    std::string list = value != nullptr && *value != '\0' ? value : fallback;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            dirs.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

// The directory of a per-user variable, or `under` in the home directory.
void append_home_dir(const char* variable, const char* under, std::vector<std::string>& dirs) {
    const char* value = getenv(variable);
    const char* home = getenv("HOME");
    if (value != nullptr && *value != '\0')
        dirs.push_back(value);
    else if (home != nullptr && *home != '\0')
        dirs.push_back(std::string(home) + "/" + under);
}

// Calls `f` with each line of the file, without its line end; false if it cannot be opened.
template <typename F>
bool for_each_line(const std::string& path, F f) {
    File file(fopen(path.c_str(), "r"));
    if (file == nullptr)
        return false;
    std::string line;
    char block[4096];
    while (fgets(block, sizeof block, file.get()) != nullptr) {
        line += block;
        if (line.back() != '\n' && !feof(file.get()))
            continue;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        f(line);
        line.clear();
    }
    return true;
}

// Whether the name can stand in a path as one name (a desktop entry's id) or, with `slash`, as
// two ("media/subtype"): no other slash, no name that starts with a dot.
bool is_safe_name(const std::string& name, bool slash) {
    if (name.empty() || name[0] == '.')
        return false;
    const size_t at = name.find('/');
    if (!slash)
        return at == std::string::npos;
    return at != std::string::npos && at + 1 < name.size() && name[at + 1] != '.' &&
           name.find('/', at + 1) == std::string::npos;
}

RegistryValue text_value(const std::string& text) {
    RegistryValue value{REG_SZ, text};
    value.data.push_back('\0');
    return value;
}

struct Glob {
    std::string extension; // as the glob writes it, without "*."
    std::string type;
    int weight;
    bool caseSensitive;
};

bool is_lower_case(const std::string& text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z')
            return false;
    }
    return true;
}

// Whether `candidate` wins over `held` for the same extension: the higher weight, then a glob
// that is not case-sensitive, then one written in lower case (globs2 lists "*.C" for C++ before
// "*.c" for C, both also without case); on a full tie the one held, which came first, stays.
bool wins_over(const Glob& candidate, const Glob& held) {
    if (candidate.weight != held.weight)
        return candidate.weight > held.weight;
    if (candidate.caseSensitive != held.caseSensitive)
        return held.caseSensitive;
    return is_lower_case(candidate.extension) && !is_lower_case(held.extension);
}

// Reads one globs2 line into `glob`; false for comments, other patterns and malformed lines.
bool parse_glob(const std::string& line, Glob& glob) {
    if (line.empty() || line[0] == '#')
        return false;
    const size_t typeStart = line.find(':');
    const size_t globStart =
        typeStart == std::string::npos ? typeStart : line.find(':', typeStart + 1);
    if (globStart == std::string::npos)
        return false;
    const std::string weight = line.substr(0, typeStart);
    if (weight.empty() || weight.find_first_not_of("0123456789") != std::string::npos ||
        weight.size() > 3)
        return false;
    glob.weight = atoi(weight.c_str());
    glob.type = line.substr(typeStart + 1, globStart - typeStart - 1);
    size_t globEnd = line.find(':', globStart + 1);
    const std::string pattern = line.substr(
        globStart + 1, globEnd == std::string::npos ? std::string::npos : globEnd - globStart - 1);
    glob.caseSensitive = false;
    while (globEnd != std::string::npos) {
        const size_t flagStart = globEnd + 1;
        globEnd = line.find_first_of(":,", flagStart);
        if (line.compare(flagStart,
                         globEnd == std::string::npos ? std::string::npos : globEnd - flagStart,
                         "cs") == 0)
            glob.caseSensitive = true;
    }
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 ||
        pattern.find_first_of("*?[.", 2) != std::string::npos)
        return false;
    glob.extension = pattern.substr(2);
    return is_safe_name(glob.type, true);
}

// The XML text with its character and entity references resolved.
std::string xml_text(const std::string& text) {
    static const struct {
        const char* name;
        char c;
    } entities[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = text[i] == '&' ? text.find(';', i) : std::string::npos;
        if (end == std::string::npos) {
            result.push_back(text[i++]);
            continue;
        }
        const std::string name = text.substr(i + 1, end - i - 1);
        bool known = false;
        for (const auto& entity : entities) {
            if (name == entity.name) {
                result.push_back(entity.c);
                known = true;
            }
        }
        if (!known && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            char* stop = nullptr;
            const unsigned long code = strtoul(name.c_str() + (hex ? 2 : 1), &stop, hex ? 16 : 10);
            if (*stop == '\0' && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                // As UTF-8, which the file's text is in.
                if (code < 0x80) {
                    result.push_back(static_cast<char>(code));
                } else if (code < 0x800) {
                    result.push_back(static_cast<char>(0xC0 | (code >> 6)));
                    result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
                } else if (code < 0x10000) {
                    result.push_back(static_cast<char>(0xE0 | (code >> 12)));
                    result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
                    result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
                } else {
                    result.push_back(static_cast<char>(0xF0 | (code >> 18)));
                    result.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
                    result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
                    result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
                }
                known = true;
            }
        }
        if (!known) {
            result.push_back(text[i++]);
            continue;
        }
        i = end + 1;
    }
    return result;
}

// The type's untranslated comment from mime/<type>.xml, in UTF-8; false if there is none. The
// file is read only as far as the comment, which comes before the translations.
bool read_comment(const std::string& path, std::string& comment) {
    File file(fopen(path.c_str(), "rb"));
    if (file == nullptr)
        return false;
    static const char open[] = "<comment>";
    static const char close[] = "</comment>";
    std::string text;
    char block[4096];
    size_t count;
    while ((count = fread(block, 1, sizeof block, file.get())) > 0) {
        text.append(block, count);
        const size_t start = text.find(open);
        if (start == std::string::npos)
            continue;
        const size_t end = text.find(close, start);
        if (end == std::string::npos)
            continue;
        const size_t textStart = start + sizeof open - 1;
        comment = xml_text(text.substr(textStart, end - textStart));
        return true;
    }
    return false;
}

// The value of a desktop entry key with its escapes resolved.
std::string desktop_value(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result.push_back(text[i]);
            continue;
        }
        const char c = text[++i];
        result.push_back(c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c);
    }
    return result;
}

// The Exec line as a command of the classes root: the file field codes become "%1".
std::string command_of(const std::string& exec) {
    std::string command;
    for (size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%' || i + 1 == exec.size()) {
            command.push_back(exec[i]);
            continue;
        }
        const char code = exec[++i];
        if (code == '%')
            command.push_back('%');
        else if (strchr("fFuU", code) != nullptr)
            command += "\"%1\"";
        // The other field codes (icon, name, location, deprecated ones) are left out.
    }
    return command;
}

// Reads the desktop entry at `path` into `command` (UTF-8), which stays empty when the entry is
// hidden or has no Exec line; false when there is no such file.
bool read_desktop_entry(const std::string& path, std::string& command) {
    bool inEntry = false;
    bool hidden = false;
    command.clear();
    const bool opened = for_each_line(path, [&](const std::string& line) {
        if (!line.empty() && line[0] == '[')
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.compare(0, 5, "Exec=") == 0 && command.empty())
            command = command_of(desktop_value(line.substr(5)));
        else if (inEntry && line == "Hidden=true")
            hidden = true;
    });
    if (hidden)
        command.clear();
    return opened;
}

class MimeDatabaseReader {
public:
    MimeDatabaseReader() {
        append_home_dir("XDG_DATA_HOME", ".local/share", dataDirs_);
        append_dirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share", dataDirs_);
        append_home_dir("XDG_CONFIG_HOME", ".config", configDirs_);
        append_dirs("XDG_CONFIG_DIRS", "/etc/xdg", configDirs_);
    }

    void Read(RegistryKey& root) {
        ReadGlobs();
        ReadApplicationLists();
        for (const auto& entry : globs_) {
            const Glob& glob = entry.second;
            RegistryKey& extension = root.Open(AnsiFromUtf8("." + glob.extension));
            const std::string type = AnsiFromUtf8(glob.type);
            extension.SetValue("", text_value(type));
            extension.SetValue("Content Type", text_value(type));
        }
        for (const std::string& type : types_) {
            RegistryKey& key = root.Open(AnsiFromUtf8(type));
            std::string comment;
            if (FindComment(type, comment))
                key.SetValue("", text_value(AnsiFromUtf8(comment)));
            std::string command;
            if (FindCommand(type, command))
                key.Open("Shell").Open("Open").Open("Command").SetValue(
                    "", text_value(AnsiFromUtf8(command)));
        }
    }

private:
    void ReadGlobs() {
        for (const std::string& dir : dataDirs_) {
            for_each_line(dir + "/mime/globs2", [&](const std::string& line) {
                Glob glob;
                if (!parse_glob(line, glob))
                    return;
                const std::string key = FoldName(AnsiFromUtf8(glob.extension));
                const auto held = globs_.find(key);
                if (held == globs_.end())
                    globs_.emplace(key, glob);
                else if (wins_over(glob, held->second))
                    held->second = glob;
            });
        }
        for (const auto& entry : globs_)
            types_.insert(entry.second.type);
    }

    // Gathers the desktop entries named for each type, in the order they are tried.
    void ReadApplicationLists() {
        for (const std::string& dir : configDirs_)
            ReadApplicationList(dir + "/mimeapps.list", "[Default Applications]");
        for (const std::string& dir : dataDirs_)
            ReadApplicationList(dir + "/applications/mimeapps.list", "[Default Applications]");
        for (const std::string& dir : dataDirs_)
            ReadApplicationList(dir + "/applications/defaults.list", "[Default Applications]");
        for (const std::string& dir : dataDirs_)
            ReadApplicationList(dir + "/applications/mimeinfo.cache", "[MIME Cache]");
    }

    void ReadApplicationList(const std::string& path, const char* group) {
        bool inGroup = false;
        for_each_line(path, [&](const std::string& line) {
            if (!line.empty() && line[0] == '[') {
                inGroup = line == group;
                return;
            }
            const size_t equals = line.find('=');
            if (!inGroup || equals == std::string::npos)
                return;
            const std::string type = line.substr(0, equals);
            if (types_.count(type) == 0)
                return;
            std::vector<std::string>& ids = applications_[type];
            size_t start = equals + 1;
            while (start < line.size()) {
                size_t end = line.find(';', start);
                if (end == std::string::npos)
                    end = line.size();
                if (end > start)
                    ids.push_back(line.substr(start, end - start));
                start = end + 1;
            }
        });
    }

    bool FindComment(const std::string& type, std::string& comment) const {
        for (const std::string& dir : dataDirs_) {
            if (read_comment(dir + "/mime/" + type + ".xml", comment))
                return true;
        }
        return false;
    }

    bool FindCommand(const std::string& type, std::string& command) {
        const auto ids = applications_.find(type);
        if (ids == applications_.end())
            return false;
        for (const std::string& id : ids->second) {
            auto known = commands_.find(id);
            if (known == commands_.end())
                known = commands_.emplace(id, ReadEntryCommand(id)).first;
            if (!known->second.empty()) {
                command = known->second;
                return true;
            }
        }
        return false;
    }

    // The command of a desktop entry, empty when there is none. The entry of the earliest
    // directory that has one decides, so a hidden entry hides those of later directories.
    std::string ReadEntryCommand(const std::string& id) const {
        std::string command;
        if (is_safe_name(id, false)) {
            for (const std::string& dir : dataDirs_) {
                if (read_desktop_entry(dir + "/applications/" + id, command))
                    return command;
            }
        }
        return std::string();
    }

    std::vector<std::string> dataDirs_;
    std::vector<std::string> configDirs_;
    std::map<std::string, Glob> globs_; // by folded extension
    std::set<std::string> types_;
    std::map<std::string, std::vector<std::string>> applications_; // desktop ids by type
    std::map<std::string, std::string> commands_;                  // by desktop id, read once
};

} // namespace

void ReadMimeDatabase(RegistryKey& classesRoot) {
    MimeDatabaseReader reader;
    reader.Read(classesRoot);
}

} // namespace bwcompat
