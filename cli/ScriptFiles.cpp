#include "ScriptFiles.h"
#include "Progress.h"

#include <bwcore/compat/BinaryStdio.h>

#include <errno.h>
#include <string.h>
#include <sys/stat.h>

namespace {

// Below this many files the run is short enough to need no progress line.
const size_t kProgressMinFiles = 8;

// A script file, or standard input for "-", read through the file stream's own line reader; it
// also tells a read error from the end of the input.
class ScriptInput : public CCodeFileStream {
public:
    explicit ScriptInput(const std::string& path) : CCodeFileStream(path.c_str()) {}

    // Empty when the input is open, else why not.
    std::string open() {
        errno = 0;
        if (m_strFileName == "-") {
            // The stream translates line ends itself, on every system.
            if (!BwSetBinaryMode(stdin))
                return "cannot read standard input";
            m_pFile.reset(stdin, [](FILE*) {});
            return std::string();
        }
        struct stat status;
        if (stat(m_strFileName, &status) == 0) {
            if (S_ISDIR(status.st_mode))
                return "it is a directory";
            if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode))
                return "it is neither a file nor a pipe";
        }
        if (OpenFile())
            return std::string();
        return errno != 0 ? strerror(errno) : "it cannot be opened";
    }

    // Empty when everything was read, else why not.
    std::string readError() const {
        if (!ferror(m_pFile.get()))
            return std::string();
        return errno != 0 ? strerror(errno) : "a read failed";
    }
};

} // namespace

CLI::Option* addScriptOptions(CLI::App& app, ScriptArguments& args) {
    app.add_flag("--json", args.json, "write JSON (UTF-8) instead of text records");
    return app.add_option("FILE", args.files, "script files; - reads standard input")->required();
}

bool forEachScript(const char* command, const std::vector<std::string>& files,
                   const std::function<void(CCodeStream&)>& parse) {
    bool allRead = true;
    Progress progress(files.size() >= kProgressMinFiles);
    for (size_t i = 0; i < files.size(); ++i) {
        progress.show(false, "bwcore %s: %zu/%zu files", command, i, files.size());
        ScriptInput input(files[i]);
        std::string error = input.open();
        if (error.empty()) {
            errno = 0;
            parse(input);
            error = input.readError();
        }
        if (!error.empty()) {
            progress.clear();
            fprintf(stderr, "bwcore %s: cannot read '%s': %s\n", command, files[i].c_str(),
                    error.c_str());
            allRead = false;
        }
    }
    return allRead;
}
