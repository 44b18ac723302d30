// bwcore lang FILE [--section ID] [--all] [--dir NAME|0xID] [--json]: the languages of a language
// file.
//
// The list is that of one section (the file's first, or --section, in hexadecimal with or without
// "0x"): one line per language, in the order of the file, with its id in hexadecimal, its name
// and whether it is neutral; without --all only neutral languages. --dir prints the directory name
// of one language instead: an argument beginning with "0x" is a language id, anything else a name.
#include "Command.h"
#include "DataFile.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <string.h>

namespace {

struct Options : SectionOptions {
    std::string dir;
    bool all = false;
};

int printDirName(HINTL table, const Options& options) {
    char directory[300];
    uintptr_t language = reinterpret_cast<uintptr_t>(options.dir.c_str());
    if (options.dir.compare(0, 2, "0x") == 0) {
        uint32_t id = 0;
        if (!isHexNumber(options.dir.c_str(), 4) ||
            IntlHexToDecimal(options.dir.c_str(), &id) == 0) {
            fprintf(stderr, "bwcore lang: '%s' is not a hexadecimal language id\n",
                    options.dir.c_str());
            return kExitUsage;
        }
        language = id;
    }
    if (IntlMakeDirName(table, language, directory) == 0) {
        fprintf(stderr, "bwcore lang: the section does not name '%s'\n", options.dir.c_str());
        return kExitFailure;
    }
    if (options.json) {
        writeJson({{"directory", utf8FromAnsi(directory)}});
    } else {
        TextOutput().field(directory).endLine();
    }
    return kExitOk;
}

struct Language {
    std::string name;
    uint16_t id;
};

void printLanguages(HINTL table, const Options& options) {
    std::vector<Language> list;
    char name[260];
    uint16_t id = 0;
    for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, options.all ? 1 : 0, mode) == 1;
         mode = INTL_ENUM_NEXT)
        list.push_back({name, id});
    sortInFileOrder(list, namesInFileOrder(options, IntlHexToDecimal));
    Json languages = Json::array();
    TextOutput out;
    for (const Language& language : list) {
        const bool neutral = IntlIsNeutral(table, nullptr, language.id) == 1;
        char hexId[8];
        snprintf(hexId, sizeof hexId, "%04x", language.id);
        if (options.json) {
            languages.push_back({{"id", hexId},
                                 {"name", utf8FromAnsi(language.name.c_str())},
                                 {"neutral", neutral}});
        } else {
            out.raw(hexId).raw("\t").field(language.name.c_str());
            out.raw(neutral ? "\tneutral" : "\tspecific").endLine();
        }
    }
    if (options.json) {
        uint16_t current = 0;
        IntlGetLanguage(table, &current);
        char section[8];
        snprintf(section, sizeof section, "%04x", current);
        writeJson({{"codepage", GetACP()}, {"section", section}, {"languages", languages}});
    }
}

} // namespace

int runLang(int argc, char** argv) {
    CLI::App app("The languages of a language file, or a language's directory name.",
                 "bwcore lang");
    Options options;
    addSectionOptions(app, options, "the language file");
    app.add_flag("--all", options.all, "list specific languages too, not only neutral ones");
    app.add_option("--dir", options.dir,
                   "print the directory name of this language: a name, or an id after 0x");
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    HINTL table = IntlCreate();
    if (table == nullptr) {
        fprintf(stderr, "bwcore lang: out of memory\n");
        return kExitFailure;
    }
    int exitCode = kExitFailure;
    if (loadSection("lang", table, IntlLoad, IntlSetLanguage, options)) {
        if (!options.dir.empty()) {
            exitCode = printDirName(table, options);
        } else {
            printLanguages(table, options);
            exitCode = kExitOk;
        }
    }
    IntlDestroy(table);
    return finishOutput("lang") ? exitCode : kExitFailure;
}
