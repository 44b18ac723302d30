// bwcore types [--json] EXT...: what the file-type table holds for each extension.
//
// One line per extension (given with or without its dot), in the order given: the extension, the
// type index, the type text, the open command, the icon file and the icon's index in it (-2 when
// the associations name none), and the image index, tab-separated; "-" for an empty field. With
// --json an array of objects {"extension", "type", "text", "command", "icon_file",
// "icon_index", "image"}. The exit code is 1 when a record could not be made.
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <string>
#include <vector>

namespace {

struct TypeRow {
    std::string extension;
    int type;
    const CFileType::typeinfo* info; // null when the record could not be made
};

void printText(const std::vector<TypeRow>& rows) {
    TextOutput out;
    for (const TypeRow& row : rows) {
        out.field(row.extension.c_str(), true).raw("\t");
        if (!row.info) {
            out.raw("-1\tno record").endLine();
            continue;
        }
        out.raw(std::to_string(row.type).c_str()).raw("\t");
        out.field(row.info->szText, true).raw("\t").field(row.info->szCommand, true).raw("\t");
        out.field(row.info->szIconFile, true).raw("\t");
        out.raw(std::to_string(row.info->nIconIndex).c_str()).raw("\t");
        out.raw(std::to_string(row.info->nImage).c_str()).endLine();
    }
}

void printJson(const std::vector<TypeRow>& rows) {
    Json list = Json::array();
    for (const TypeRow& row : rows) {
        if (!row.info) {
            list.push_back({{"extension", utf8FromAnsi(row.extension.c_str())}, {"type", -1}});
            continue;
        }
        list.push_back({{"extension", utf8FromAnsi(row.extension.c_str())},
                        {"type", row.type},
                        {"text", utf8FromAnsi(row.info->szText)},
                        {"command", utf8FromAnsi(row.info->szCommand)},
                        {"icon_file", utf8FromAnsi(row.info->szIconFile)},
                        {"icon_index", row.info->nIconIndex},
                        {"image", row.info->nImage}});
    }
    writeJson(list);
}

} // namespace

int runTypes(int argc, char** argv) {
    CLI::App app("What the file-type table holds for each extension.", "bwcore types");
    bool json = false;
    std::vector<std::string> extensions;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("EXT", extensions, "extensions, with or without their dot")->required();
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    CFileType types;
    std::vector<TypeRow> rows;
    bool complete = true;
    for (const std::string& extension : extensions) {
        // A name of that extension; an empty one is a name without an extension.
        std::string name = "x";
        if (!extension.empty())
            name += extension[0] == '.' ? extension : "." + extension;
        CString strText, strCommand;
        const int type = types.QueryFileTypeIndex(&name[0], strText, strCommand);
        rows.push_back({extension, type, types.QueryFileTypeInfo(type)});
        complete = complete && type >= 0;
    }
    if (json)
        printJson(rows);
    else
        printText(rows);
    if (!finishOutput("types"))
        return kExitFailure;
    return complete ? kExitOk : kExitFailure;
}
