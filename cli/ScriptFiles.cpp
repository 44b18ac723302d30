#include "ScriptFiles.h"
#include "Output.h"

#include <errno.h>
#include <filesystem>
#include <string.h>
#include <system_error>
#include <unistd.h>

namespace {

// Below this many files the run is short enough to need no progress line.
const size_t kProgressMinFiles = 8;

// A progress line on stderr, rewritten in place; only when stderr is a terminal, so that logs
// and pipes get no carriage returns.
class Progress {
public:
    Progress(const char* command, size_t total)
        : m_command(command), m_total(total),
          m_enabled(total >= kProgressMinFiles && isatty(fileno(stderr))) {}
    ~Progress() { clear(); }

    void show(size_t done) {
        if (!m_enabled)
            return;
        fprintf(stderr, "\rbwcore %s: %zu/%zu files", m_command, done, m_total);
        fflush(stderr);
        m_shown = true;
    }
    // Removes the line, before a message or at the end.
    void clear() {
        if (!m_shown)
            return;
        fprintf(stderr, "\r%*s\r", 60, "");
        fflush(stderr);
        m_shown = false;
    }

private:
    const char* m_command;
    size_t m_total;
    bool m_enabled;
    bool m_shown = false;
};

} // namespace

bool parseScriptArguments(const char* command, int argc, char** argv, ScriptArguments& args) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (options && strcmp(arg, "--") == 0) {
            options = false;
        } else if (options && strcmp(arg, "--json") == 0) {
            args.json = true;
        } else if (options && arg[0] == '-' && arg[1] != '\0') {
            fprintf(stderr, "bwcore %s: unknown option '%s'\n", command, arg);
            return false;
        } else {
            args.files.push_back(arg);
        }
    }
    if (args.files.empty()) {
        fprintf(stderr, "bwcore %s: no files given (usage: bwcore %s [--json] FILE...)\n", command,
                command);
        return false;
    }
    return true;
}

bool forEachScript(const char* command, const std::vector<const char*>& files,
                   const std::function<void(CCodeFileStream&)>& parse) {
    bool allRead = true;
    Progress progress(command, files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const char* path = files[i];
        progress.show(i);
        // A directory opens for reading on some systems and then reads as an empty script.
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            progress.clear();
            fprintf(stderr, "bwcore %s: cannot read '%s': it is a directory\n", command, path);
            allRead = false;
            continue;
        }
        CCodeFileStream stream(path);
        errno = 0;
        if (!stream.OpenFile()) {
            const int error = errno;
            progress.clear();
            if (error != 0)
                fprintf(stderr, "bwcore %s: cannot open '%s': %s\n", command, path,
                        strerror(error));
            else
                fprintf(stderr, "bwcore %s: cannot open '%s'\n", command, path);
            allRead = false;
            continue;
        }
        parse(stream);
    }
    return allRead;
}

void writeTextLine(FILE* out, int line, bool countedFromZero) {
    if (line == -1)
        fputc('-', out);
    else
        fprintf(out, "%d", countedFromZero ? line + 1 : line);
}

void writeTextField(FILE* out, const CString& text) {
    const int length = static_cast<int>(strlen(text));
    if (length == 0)
        fputc('-', out);
    else
        writeEscapedText(out, text, length);
}
