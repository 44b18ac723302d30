// bwcore version [--json] FILE...: each file's version, from its version resource.
//
// One line per file: the path, a tab, then either the file version as four dotted numbers (the
// high and low words of its most significant half, then those of its least significant half) or
// why there is none: "no version information", "cannot be opened", "version information
// unreadable". With --json an array of objects {"path", "version", "reason"}, one of the last two
// null. The exit code is 1 when any file had no version.
#include "Command.h"
#include "Output.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Io.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const char kName[] = "bwcore version";

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
    for (const FileVersion& v : versions) {
        writeEscapedText(stdout, v.path, static_cast<int>(strlen(v.path)));
        fputc('\t', stdout);
        fputs(v.result == 0 ? dotted(v).c_str() : reasonFor(v.result), stdout);
        fputc('\n', stdout);
    }
}

void printJson(const std::vector<FileVersion>& versions) {
    fputc('[', stdout);
    const char* separator = "\n";
    for (const FileVersion& v : versions) {
        fprintf(stdout, "%s  {\"path\": ", separator);
        writeJsonString(stdout, v.path, static_cast<int>(strlen(v.path)));
        if (v.result == 0)
            fprintf(stdout, ", \"version\": \"%s\", \"reason\": null}", dotted(v).c_str());
        else
            fprintf(stdout, ", \"version\": null, \"reason\": \"%s\"}", reasonFor(v.result));
        separator = ",\n";
    }
    fputs("\n]\n", stdout);
}

} // namespace

int runVersion(int argc, char** argv) {
    bool json = false;
    std::vector<FileVersion> versions;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            fprintf(stderr, "%s: unknown option '%s'\n", kName, argv[i]);
            return kExitUsage;
        } else {
            FileVersion v{argv[i], 0, 0, 0};
            v.result = IoGetVersion(v.path, &v.ms, &v.ls);
            versions.push_back(v);
        }
    }
    if (versions.empty()) {
        fprintf(stderr, "%s: name at least one file\n", kName);
        return kExitUsage;
    }
    if (json)
        printJson(versions);
    else
        printText(versions);
    for (const FileVersion& v : versions) {
        if (v.result != 0)
            return kExitFailure;
    }
    return kExitOk;
}
