// bwcore platform FILE [--section ID] [--name BINTEXT | --id NAME] [--json]: the platforms of a
// platform file.
//
// The list is that of one section (the file's first, or --section, in hexadecimal with or without
// "0x"): one line per platform or named combination with its name and bin text. --name prints
// the names of the platforms in a bin text, joined by the separator; --id prints the bin text of
// a name.
#include "Command.h"
#include "Output.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Strings.h>

#include <stdio.h>
#include <string.h>

namespace {

const char kName[] = "bwcore platform";

struct Options {
    const char* file = nullptr;
    const char* section = nullptr;
    const char* binText = nullptr;
    const char* platform = nullptr;
    bool json = false;
};

bool isHex(const char* text, size_t maxDigits) {
    const char* digits = strncmp(text, "0x", 2) == 0 ? text + 2 : text;
    size_t length = strlen(digits);
    return length > 0 && length <= maxDigits && strspn(digits, "0123456789abcdefABCDEF") == length;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "--json") == 0) {
            options.json = true;
        } else if (strcmp(arg, "--section") == 0 && hasValue) {
            options.section = argv[++i];
        } else if (strcmp(arg, "--name") == 0 && hasValue) {
            options.binText = argv[++i];
        } else if (strcmp(arg, "--id") == 0 && hasValue) {
            options.platform = argv[++i];
        } else if (arg[0] != '-' && options.file == nullptr) {
            options.file = arg;
        } else {
            fprintf(stderr, "%s: unexpected argument '%s'\n", kName, arg);
            return false;
        }
    }
    if (options.file == nullptr) {
        fprintf(stderr, "%s: a platform file is needed\n", kName);
        return false;
    }
    if (options.section != nullptr && !isHex(options.section, 4)) {
        fprintf(stderr, "%s: '%s' is not a hexadecimal language id\n", kName, options.section);
        return false;
    }
    if (options.binText != nullptr && !isHex(options.binText, 16)) {
        fprintf(stderr, "%s: '%s' is not a bin text of up to 16 hexadecimal digits\n", kName,
                options.binText);
        return false;
    }
    if (options.binText != nullptr && options.platform != nullptr) {
        fprintf(stderr, "%s: --name and --id exclude each other\n", kName);
        return false;
    }
    return true;
}

// One record: a name and a bin text.
void printRecord(const Options& options, const char* name, const char* binText,
                 const char* separator) {
    if (options.json) {
        fprintf(stdout, "%s  {\"name\": ", separator);
        writeJsonString(stdout, name, static_cast<int>(strlen(name)));
        fprintf(stdout, ", \"bintext\": \"%s\"}", binText);
    } else {
        writeEscapedText(stdout, name, static_cast<int>(strlen(name)));
        fprintf(stdout, "\t%s\n", binText);
    }
}

void printStart(const Options& options, const char* member) {
    if (options.json)
        fprintf(stdout, "{\"codepage\": %u, \"%s\": [", GetACP(), member);
}

void printEnd(const Options& options) {
    if (options.json)
        fputs("\n]}\n", stdout);
}

int printNames(HPLATFORM table, const Options& options) {
    PLATFORMINFO set;
    PlatformBinTextToInfo(options.binText, &set);
    char names[16 * 270] = "";
    if (PlatformGetName(table, set, names) != 0) {
        fprintf(stderr, "%s: a platform of %s has no name in the section\n", kName,
                options.binText);
        return kExitFailure;
    }
    char binText[PLATFORM_BINTEXT_SIZE];
    PlatformInfoToBinText(&set, binText);
    printStart(options, "platforms");
    printRecord(options, names, binText, "\n");
    printEnd(options);
    return kExitOk;
}

int printId(HPLATFORM table, const Options& options) {
    PLATFORMINFO set;
    if (PlatformGetId(table, options.platform, &set) != 0) {
        fprintf(stderr, "%s: the section does not name '%s'\n", kName, options.platform);
        return kExitFailure;
    }
    char binText[PLATFORM_BINTEXT_SIZE];
    PlatformInfoToBinText(&set, binText);
    printStart(options, "platforms");
    printRecord(options, options.platform, binText, "\n");
    printEnd(options);
    return kExitOk;
}

void printPlatforms(HPLATFORM table, const Options& options) {
    printStart(options, "platforms");
    const char* separator = "\n";
    char name[260];
    PLATFORMINFO set;
    for (uint32_t flags = PLATFORM_ENUM_FIRST; PlatformEnum(table, name, &set, flags) == 1;
         flags = PLATFORM_ENUM_NEXT) {
        char binText[PLATFORM_BINTEXT_SIZE];
        PlatformInfoToBinText(&set, binText);
        printRecord(options, name, binText, separator);
        separator = ",\n";
    }
    printEnd(options);
}

int run(HPLATFORM table, const Options& options) {
    int32_t result = PlatformLoad(table, options.file);
    if (result != 0) {
        fprintf(stderr, "%s: cannot load '%s' (error %d)\n", kName, options.file, result);
        return kExitFailure;
    }
    if (options.section != nullptr) {
        uint32_t id = 0;
        _HexToDec(options.section, &id);
        if (PlatformSetLanguage(table, static_cast<uint16_t>(id)) != 0) {
            fprintf(stderr, "%s: no section %s in '%s'\n", kName, options.section, options.file);
            return kExitFailure;
        }
    }
    if (options.binText != nullptr)
        return printNames(table, options);
    if (options.platform != nullptr)
        return printId(table, options);
    printPlatforms(table, options);
    return kExitOk;
}

} // namespace

int runPlatform(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options))
        return kExitUsage;
    HPLATFORM table = PlatformCreate(GetModuleHandleA(nullptr));
    if (table == nullptr) {
        fprintf(stderr, "%s: out of memory\n", kName);
        return kExitFailure;
    }
    int exitCode = run(table, options);
    PlatformDestroy(table);
    return exitCode;
}
