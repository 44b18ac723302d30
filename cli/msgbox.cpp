// bwcore msgbox CODE [ARG] [--type N] [--json]: the message box that DlgMsgError shows for an
// error code.
//
// The box goes through a driver that notes what it shows and then answers as the default does
// (on Linux the text on standard error and the box's default button; on Windows the real box, for
// a person to answer). Printed: the text, the type, the help context and the button pressed, one
// "name<TAB>value" line each; with --json an object {"code", "argument", "text", "type", "help",
// "button", "button_name"}.
//
// ARG fills the text's conversion. When it is a whole number (digits with an optional minus) and
// the code's catalogue text holds "%d", it travels as an integer in the pointer, as a caller
// passes a count; otherwise as a string. --type takes the MB_... flags in decimal or, with "0x",
// in hexadecimal (default 0, MB_OK).
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

// What the box showed, passed on to the default answer.
struct RecordingDriver : CUiDriver {
    int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) override {
        text = lpszText;
        type = nType;
        help = nIDHelp;
        return CUiDriver::AnswerMessageBox(lpszText, nType, nIDHelp);
    }

    CString text;
    UINT type = 0;
    UINT help = 0;
};

const char* buttonName(int button) {
    static const char* const kNames[] = {"IDOK",     "IDCANCEL",   "IDABORT",   "IDRETRY",
                                         "IDIGNORE", "IDYES",      "IDNO",      "IDCLOSE",
                                         "IDHELP",   "IDTRYAGAIN", "IDCONTINUE"};
    return button >= IDOK && button <= IDCONTINUE ? kNames[button - IDOK] : "unknown";
}

bool parseWhole(const char* text, long long& value, int base) {
    char* end = nullptr;
    value = strtoll(text, &end, base);
    return end != text && *end == '\0';
}

bool isWholeNumber(const std::string& text) {
    const size_t digits = text.compare(0, 1, "-") == 0 ? 1 : 0;
    return text.size() > digits &&
           text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// Whether the code's catalogue text takes an integer.
bool takesInteger(long long code) {
    CString text;
    return code < 0 && code >= -0xFFFF && text.LoadString(static_cast<UINT>(-code)) &&
           strstr(text, "%d") != nullptr;
}

} // namespace

int runMsgbox(int argc, char** argv) {
    CLI::App app("Show the message box of an error code as DlgMsgError shows it, and the button "
                 "pressed.",
                 "bwcore msgbox");
    bool json = false;
    std::string codeText, typeText = "0";
    std::string argument;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("--type", typeText, "the MB_... type flags, decimal or 0x hexadecimal");
    app.add_option("CODE", codeText, "the error code (its message is the code negated)")
        ->required();
    CLI::Option* argOption =
        app.add_option("ARG", argument, "the text's argument: a string, or a number for \"%d\"");
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    long long code = 0, type = 0;
    if (!parseWhole(codeText.c_str(), code, 10) || code < INT32_MIN || code > INT32_MAX) {
        fprintf(stderr, "bwcore msgbox: '%s' is not an error code\n", codeText.c_str());
        return kExitUsage;
    }
    if (!parseWhole(typeText.c_str(), type, 0) || type < 0 || type > 0xFFFFFFFFLL) {
        fprintf(stderr, "bwcore msgbox: '%s' is not a message box type\n", typeText.c_str());
        return kExitUsage;
    }
    const bool hasArgument = argOption->count() > 0;
    const bool integer = hasArgument && isWholeNumber(argument) && takesInteger(code);
    // The text's "%d" reads an int from the pointer.
    const int number = integer ? static_cast<int>(strtoll(argument.c_str(), nullptr, 10)) : 0;
    void* pArg = nullptr;
    if (integer)
        pArg = reinterpret_cast<void*>(static_cast<INT_PTR>(number));
    else if (hasArgument)
        pArg = const_cast<char*>(argument.c_str());

    RecordingDriver driver;
    CUiDriver* previous = CUiDriver::Install(&driver);
    const int button = DlgMsgError(nullptr, static_cast<int>(code), static_cast<int>(type), pArg);
    CUiDriver::Install(previous);

    if (json) {
        Json arg = !hasArgument ? Json()
                   : integer    ? Json(number)
                                : Json(utf8FromAnsi(argument.c_str()));
        writeJson({{"code", code},
                   {"argument", arg},
                   {"text", utf8FromAnsi(driver.text)},
                   {"type", driver.type},
                   {"help", driver.help},
                   {"button", button},
                   {"button_name", buttonName(button)}});
    } else {
        char typeHex[16];
        snprintf(typeHex, sizeof typeHex, "0x%08X", driver.type);
        TextOutput out;
        out.raw("text\t").field(driver.text).endLine();
        out.raw("type\t").raw(typeHex).endLine();
        out.raw("help\t").raw(std::to_string(driver.help).c_str()).endLine();
        out.raw("button\t").raw(buttonName(button)).raw(" ");
        out.raw(std::to_string(button).c_str()).endLine();
    }
    return finishOutput("msgbox") ? kExitOk : kExitFailure;
}
