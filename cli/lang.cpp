// bwcore lang FILE [--section ID] [--all] [--dir NAME|ID] [--json]: the languages of a language
// file.
//
// The list is that of one section (the file's first, or --section, in hexadecimal with or without
// "0x"): one line per language with its id in hexadecimal, its name and whether it is neutral;
// without --all only neutral languages. --dir prints the directory name of one language instead:
// an argument beginning with "0x" is a language id, anything else a name.
#include "Command.h"
#include "Output.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Strings.h>

#include <stdio.h>
#include <string.h>

namespace {

const char kName[] = "bwcore lang";

struct Options {
    const char* file = nullptr;
    const char* section = nullptr;
    const char* dir = nullptr;
    bool all = false;
    bool json = false;
};

bool isHexId(const char* text) {
    const char* digits = strncmp(text, "0x", 2) == 0 ? text + 2 : text;
    size_t length = strlen(digits);
    return length > 0 && length <= 4 && strspn(digits, "0123456789abcdefABCDEF") == length;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "--json") == 0) {
            options.json = true;
        } else if (strcmp(arg, "--all") == 0) {
            options.all = true;
        } else if (strcmp(arg, "--section") == 0 && hasValue) {
            options.section = argv[++i];
        } else if (strcmp(arg, "--dir") == 0 && hasValue) {
            options.dir = argv[++i];
        } else if (arg[0] != '-' && options.file == nullptr) {
            options.file = arg;
        } else {
            fprintf(stderr, "%s: unexpected argument '%s'\n", kName, arg);
            return false;
        }
    }
    if (options.file == nullptr) {
        fprintf(stderr, "%s: a language file is needed\n", kName);
        return false;
    }
    if (options.section != nullptr && !isHexId(options.section)) {
        fprintf(stderr, "%s: '%s' is not a hexadecimal language id\n", kName, options.section);
        return false;
    }
    return true;
}

int printDirName(HINTL table, const Options& options) {
    char directory[300];
    uintptr_t language = reinterpret_cast<uintptr_t>(options.dir);
    if (strncmp(options.dir, "0x", 2) == 0) {
        uint32_t id = 0;
        if (!isHexId(options.dir) || IntlHexToDecimal(options.dir, &id) == 0) {
            fprintf(stderr, "%s: '%s' is not a hexadecimal language id\n", kName, options.dir);
            return kExitUsage;
        }
        language = id;
    }
    if (IntlMakeDirName(table, language, directory) == 0) {
        fprintf(stderr, "%s: the section does not name '%s'\n", kName, options.dir);
        return kExitFailure;
    }
    if (options.json) {
        fputs("{\"directory\": ", stdout);
        writeJsonString(stdout, directory, static_cast<int>(strlen(directory)));
        fputs("}\n", stdout);
    } else {
        writeEscapedText(stdout, directory, static_cast<int>(strlen(directory)));
        fputc('\n', stdout);
    }
    return kExitOk;
}

void printLanguages(HINTL table, const Options& options) {
    uint16_t current = 0;
    IntlGetLanguage(table, &current);
    if (options.json)
        fprintf(stdout, "{\"codepage\": %u, \"section\": \"%04x\", \"languages\": [", GetACP(),
                current);
    const char* separator = "\n";
    char name[260];
    uint16_t id = 0;
    for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, options.all ? 1 : 0, mode) == 1;
         mode = INTL_ENUM_NEXT) {
        bool neutral = IntlIsNeutral(table, nullptr, id) == 1;
        if (options.json) {
            fprintf(stdout, "%s  {\"id\": \"%04x\", \"name\": ", separator, id);
            writeJsonString(stdout, name, static_cast<int>(strlen(name)));
            fprintf(stdout, ", \"neutral\": %s}", neutral ? "true" : "false");
            separator = ",\n";
        } else {
            fprintf(stdout, "%04x\t", id);
            writeEscapedText(stdout, name, static_cast<int>(strlen(name)));
            fprintf(stdout, "\t%s\n", neutral ? "neutral" : "specific");
        }
    }
    if (options.json)
        fputs("\n]}\n", stdout);
}

int run(HINTL table, const Options& options) {
    int32_t result = IntlLoad(table, options.file);
    if (result != 0) {
        fprintf(stderr, "%s: cannot load '%s' (error %d)\n", kName, options.file, result);
        return kExitFailure;
    }
    if (options.section != nullptr) {
        uint32_t id = 0;
        _HexToDec(options.section, &id);
        if (IntlSetLanguage(table, static_cast<uint16_t>(id)) != 0) {
            fprintf(stderr, "%s: no section %s in '%s'\n", kName, options.section, options.file);
            return kExitFailure;
        }
    }
    if (options.dir != nullptr)
        return printDirName(table, options);
    printLanguages(table, options);
    return kExitOk;
}

} // namespace

int runLang(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options))
        return kExitUsage;
    HINTL table = IntlCreate();
    if (table == nullptr) {
        fprintf(stderr, "%s: out of memory\n", kName);
        return kExitFailure;
    }
    int exitCode = run(table, options);
    IntlDestroy(table);
    return exitCode;
}
