// bwcore version [--json] FILE...: each file's version, from its version resource.
//
// One line per file: the path, a tab, then either the file version as four dotted numbers (the
// high and low words of its most significant half, then those of its least significant half) or
// why there is none: "no version information", "cannot be opened", "version information
// unreadable". With --json an array of objects {"path", "version", "reason"}, one of the last two
// null. The exit code is 1 when any file had no version.
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Io.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

struct FileVersion {
    const char* path;
    int32_t result; // IoGetVersion's
    uint32_t ms;
    uint32_t ls;
};

const char* reasonFor(int32_t result) {
    switch (result) {
    case -8:
        return "no version information";
    case -2:
        return "cannot be opened";
    default:
        return "version information unreadable";
    }
}

std::string dotted(const FileVersion& v) {
    char text[64];
    snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(v.ms >> 16),
             static_cast<unsigned>(v.ms & 0xFFFF), static_cast<unsigned>(v.ls >> 16),
             static_cast<unsigned>(v.ls & 0xFFFF));
    return text;
}

void printText(const std::vector<FileVersion>& versions) {
    TextOutput out;
    for (const FileVersion& v : versions) {
        out.field(v.path).raw("\t");
        out.raw(v.result == 0 ? dotted(v).c_str() : reasonFor(v.result)).endLine();
    }
}

void printJson(const std::vector<FileVersion>& versions) {
    Json list = Json::array();
    for (const FileVersion& v : versions) {
        list.push_back({{"path", utf8FromAnsi(v.path)},
                        {"version", v.result == 0 ? Json(dotted(v)) : Json()},
                        {"reason", v.result == 0 ? Json() : Json(reasonFor(v.result))}});
    }
    writeJson(list);
}

} // namespace

int runVersion(int argc, char** argv) {
    CLI::App app("Each file's version, from its version resource.", "bwcore version");
    bool json = false;
    std::vector<std::string> paths;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("FILE", paths, "files to read")->required();
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    std::vector<FileVersion> versions;
    for (const std::string& path : paths) {
        FileVersion v{path.c_str(), 0, 0, 0};
        v.result = IoGetVersion(v.path, &v.ms, &v.ls);
        versions.push_back(v);
    }
    if (json)
        printJson(versions);
    else
        printText(versions);
    if (!finishOutput("version"))
        return kExitFailure;
    for (const FileVersion& v : versions) {
        if (v.result != 0)
            return kExitFailure;
    }
    return kExitOk;
}
