// bwcore: the command-line face of the library.
#include "Command.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <string.h>

namespace {

const Command kCommands[] = {
    {"msg", "[--json] [ID|CODE...]", "show message catalogue texts (all without arguments)",
     runMsg},
    {"script", "[--json] [-R DIR]... FILE|-...",
     "index scripts: functions, methods, properties, sections, tags", runScript},
    {"events", "[--json] FILE|-...", "index event scripts: handlers by category and event",
     runEvents},
    {"lang", "[--json] FILE [--section ID] [--all] [--dir NAME|0xID]",
     "languages of a language file, or a language's directory name", runLang},
    {"platform", "[--json] FILE [--section ID] [--bintext BINTEXT | --name NAME]",
     "platforms of a platform file, or names and bin texts converted", runPlatform},
    {"scramble", "--key KEY [--scheme byte|data] [-o FILE] [FILE|-]",
     "scramble a file or standard input reversibly", runScramble},
    {"unscramble", "--key KEY [--scheme byte|data] [-o FILE] [FILE|-]",
     "restore what scramble wrote (same key and scheme)", runUnscramble},
    {"version", "[--json] FILE...", "each file's version from its version resource", runVersion},
    {"bitmap", "[--json] [--png OUT] FILE",
     "what the bitmap loader makes of a bitmap file, optionally written as PNG", runBitmap},
    {"types", "[--json] EXT...",
     "each extension's file type: index, text, open command, icon file and index", runTypes},
    {"ls", "[--recursive] [--pattern PAT] [--schedule] [--json] DIR...",
     "directory listings through the directory cache: sizes, attributes, times, types", runLs},
    {"msgbox", "[--json] [--type N] CODE [ARG]",
     "the message box of an error code, and the button pressed", runMsgbox},
    {"dialog", "regimport --key K --value V --new N [--json] | show ID [--json]",
     "show the registry-import dialog or a dialog template, and how it ended", runDialog},
};

void printUsage(FILE* out) {
    fprintf(out, "usage: bwcore [--help | --version] <command> [arguments]\n\n");
    fprintf(out, "Core support library of the Brindlewick front end, from the command line.\n\n");
    fprintf(out, "commands:\n");
    for (const Command& c : kCommands)
        fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
    fprintf(out, "\n");
    fprintf(out, "options:\n");
    fprintf(out, "  --help     show this text (bwcore COMMAND --help: that command's)\n");
    fprintf(out, "  --version  show the library's version\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return kExitUsage;
    }
    const char* first = argv[1];
    if (strcmp(first, "--help") == 0 || strcmp(first, "-h") == 0) {
        printUsage(stdout);
        return fflush(stdout) == 0 && !ferror(stdout) ? kExitOk : kExitFailure;
    }
    if (strcmp(first, "--version") == 0) {
        printf("bwcore %s\n", BWCORE_VERSION_STRING);
        return fflush(stdout) == 0 && !ferror(stdout) ? kExitOk : kExitFailure;
    }
    for (const Command& c : kCommands) {
        if (strcmp(first, c.name) == 0)
            return c.run(argc - 1, argv + 1);
    }
    fprintf(stderr, "bwcore: unknown command '%s' (see bwcore --help)\n", first);
    return kExitUsage;
}
