// bwcore dialog regimport --key K --value V --new N [--json]: the registry-import question, and
//     the choice made: yes, yes-to-all, no, no-to-all or cancel.
// bwcore dialog show ID [--json]: any dialog template of the library as a plain dialog, and the
//     identifier that ended it.
//
// The dialogs run as they do with no driver installed: on Windows for a person to answer, on
// Linux answered with their default push button. With --json {"dialog", "result", "choice"} and
// {"dialog", "result"}. A template that cannot be found or made into a dialog fails (exit code 1).
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

const char* choiceName(INT_PTR result) {
    switch (result) {
    case CDlgRegImportOverwrite::IDC_YES_BUTTON:
        return "yes";
    case CDlgRegImportOverwrite::IDC_YES_TO_ALL_BUTTON:
        return "yes-to-all";
    case CDlgRegImportOverwrite::IDC_NO_BUTTON:
        return "no";
    case CDlgRegImportOverwrite::IDC_NO_TO_ALL_BUTTON:
        return "no-to-all";
    case IDCANCEL:
        return "cancel";
    default:
        return "unknown";
    }
}

int report(const char* kind, long templateId, INT_PTR result, bool json, const char* choice) {
    if (result == -1) {
        fprintf(stderr, "bwcore dialog %s: the dialog template %ld cannot be shown\n", kind,
                templateId);
        return kExitFailure;
    }
    if (json) {
        Json document = {{"dialog", templateId}, {"result", static_cast<long long>(result)}};
        if (choice)
            document["choice"] = choice;
        writeJson(document);
    } else {
        printf("%s\n", choice ? choice : std::to_string(static_cast<long long>(result)).c_str());
    }
    return finishOutput("dialog") ? kExitOk : kExitFailure;
}

int runRegImport(std::vector<char*> args) {
    CLI::App app("Show the registry-import question and print the choice: yes, yes-to-all, no, "
                 "no-to-all or cancel.",
                 "bwcore dialog regimport");
    bool json = false;
    std::string key, value, newValue;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("--key", key, "the key name")->required();
    app.add_option("--value", value, "the value name")->required();
    app.add_option("--new", newValue, "the new value")->required();
    if (const int exitCode = parseCommandLine(app, static_cast<int>(args.size()), args.data());
        exitCode >= 0)
        return exitCode;
    CDlgRegImportOverwrite dialog;
    dialog.m_strKeyName = key.c_str();
    dialog.m_strValueName = value.c_str();
    dialog.m_strNewValue = newValue.c_str();
    const INT_PTR result = dialog.DoModal();
    return report("regimport", CDlgRegImportOverwrite::IDD, result, json, choiceName(result));
}

int runShow(std::vector<char*> args) {
    CLI::App app("Show a dialog template of the library as a plain dialog and print the "
                 "identifier that ended it.",
                 "bwcore dialog show");
    bool json = false;
    long id = 0;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("ID", id, "the template's identifier")->required()->check(CLI::Range(1, 0xFFFF));
    if (const int exitCode = parseCommandLine(app, static_cast<int>(args.size()), args.data());
        exitCode >= 0)
        return exitCode;
    CDialog dialog(static_cast<UINT>(id));
    return report("show", id, dialog.DoModal(), json, nullptr);
}

} // namespace

int runDialog(int argc, char** argv) {
    // Everything after KIND belongs to that dialog's own options (--help among them).
    const std::string kind = argc > 1 ? argv[1] : "";
    if (kind == "regimport" || kind == "show") {
        std::vector<char*> args(argv + 1, argv + argc);
        return kind == "regimport" ? runRegImport(args) : runShow(args);
    }
    CLI::App app("Show one of the library's dialogs and print how it ended.", "bwcore dialog");
    std::string given;
    app.add_option("KIND", given, "regimport or show (each takes --help)")
        ->required()
        ->check(CLI::IsMember({"regimport", "show"}));
    const int exitCode = parseCommandLine(app, argc, argv);
    return exitCode >= 0 ? exitCode : kExitUsage;
}
