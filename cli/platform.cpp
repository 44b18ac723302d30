// bwcore platform FILE [--section ID] [--bintext BINTEXT | --name NAME] [--json]: the platforms of
// a platform file.
//
// The list is that of one section (the file's first, or --section, in hexadecimal with or without
// "0x"): one line per platform or named combination, in the order of the file, with its name and
// bin text. --bintext prints
// the names of the platforms in a bin text, joined by the separator; --name prints the bin text
// of a name.
#include "Command.h"
#include "DataFile.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <string.h>

namespace {

struct Options : SectionOptions {
    std::string binText;
    std::string name;
};

// The records, as a JSON list or one text line each.
class Records {
public:
    explicit Records(bool json) : m_json(json) {}

    void add(const char* name, const PLATFORMINFO& set) {
        char binText[PLATFORM_BINTEXT_SIZE];
        PlatformInfoToBinText(&set, binText);
        if (m_json) {
            m_list.push_back({{"name", utf8FromAnsi(name)}, {"bintext", binText}});
        } else {
            m_text.field(name).raw("\t").raw(binText).endLine();
        }
    }
    void finish() {
        if (m_json)
            writeJson({{"codepage", GetACP()}, {"platforms", m_list}});
    }

private:
    bool m_json;
    Json m_list = Json::array();
    TextOutput m_text;
};

int printNames(HPLATFORM table, const Options& options) {
    PLATFORMINFO set;
    PlatformBinTextToInfo(options.binText.c_str(), &set);
    char names[16 * 270] = "";
    if (PlatformGetName(table, set, names) != 0) {
        fprintf(stderr, "bwcore platform: a platform of %s has no name in the section\n",
                options.binText.c_str());
        return kExitFailure;
    }
    if (names[0] == '\0') {
        fprintf(stderr, "bwcore platform: the bin text %s holds no platform\n",
                options.binText.c_str());
        return kExitFailure;
    }
    Records records(options.json);
    records.add(names, set);
    records.finish();
    return kExitOk;
}

int printBinText(HPLATFORM table, const Options& options) {
    PLATFORMINFO set;
    if (PlatformGetId(table, options.name.c_str(), &set) != 0) {
        fprintf(stderr, "bwcore platform: the section does not name '%s'\n", options.name.c_str());
        return kExitFailure;
    }
    Records records(options.json);
    records.add(options.name.c_str(), set);
    records.finish();
    return kExitOk;
}

struct Platform {
    std::string name;
    PLATFORMINFO set;
};

void printPlatforms(HPLATFORM table, const Options& options) {
    std::vector<Platform> list;
    char name[260];
    PLATFORMINFO set;
    for (uint32_t flags = PLATFORM_ENUM_FIRST; PlatformEnum(table, name, &set, flags) == 1;
         flags = PLATFORM_ENUM_NEXT)
        list.push_back({name, set});
    sortInFileOrder(list, namesInFileOrder(options, _HexToDec));
    Records records(options.json);
    for (const Platform& platform : list)
        records.add(platform.name.c_str(), platform.set);
    records.finish();
}

} // namespace

int runPlatform(int argc, char** argv) {
    CLI::App app("The platforms of a platform file, or names and bin texts converted.",
                 "bwcore platform");
    Options options;
    addSectionOptions(app, options, "the platform file");
    CLI::Option* binText =
        app.add_option("--bintext", options.binText,
                       "print the names of the platforms in this bin text (up to 16 hex digits)")
            ->check(hexDigits(16, "a bin text of up to 16 hexadecimal digits"));
    app.add_option("--name", options.name, "print the bin text of this platform name")
        ->excludes(binText);
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    HPLATFORM table = PlatformCreate(GetModuleHandleA(nullptr));
    if (table == nullptr) {
        fprintf(stderr, "bwcore platform: out of memory\n");
        return kExitFailure;
    }
    int exitCode = kExitFailure;
    if (loadSection("platform", table, PlatformLoad, PlatformSetLanguage, options)) {
        if (!options.binText.empty()) {
            exitCode = printNames(table, options);
        } else if (!options.name.empty()) {
            exitCode = printBinText(table, options);
        } else {
            printPlatforms(table, options);
            exitCode = kExitOk;
        }
    }
    PlatformDestroy(table);
    return finishOutput("platform") ? exitCode : kExitFailure;
}
