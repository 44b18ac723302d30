#include "CommandLine.h"
#include "Command.h"

#include <stdio.h>
#include <string.h>

namespace {

// CLI11 reports a missing option value as "NAME: 1 required TYPE missing"; the name before the
// colon is all that message is needed for.
std::string describe(const CLI::ParseError& error) {
    const std::string what = error.what();
    const size_t colon = what.find(": ");
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr &&
        colon != std::string::npos && what.compare(colon, 4, ": 1 ") == 0 &&
        what.find(" missing", colon) != std::string::npos)
        return "option '" + what.substr(0, colon) + "' needs a value";
    return what;
}

} // namespace

int parseCommandLine(CLI::App& app, int argc, char** argv) {
    // On Windows CLI11 would read "/name" as an option; to this tool it is a path everywhere.
    app.allow_windows_style_options(false);
    try {
        app.parse(argc, argv);
        return -1;
    } catch (const CLI::CallForHelp&) {
        fputs(app.help().c_str(), stdout);
        return fflush(stdout) == 0 && !ferror(stdout) ? kExitOk : kExitFailure;
    } catch (const CLI::ParseError& error) {
        fprintf(stderr, "%s: %s\n(see %s --help)\n", app.get_name().c_str(),
                describe(error).c_str(), app.get_name().c_str());
        return kExitUsage;
    }
}

bool isHexNumber(const char* text, size_t maxDigits) {
    const char* digits = strncmp(text, "0x", 2) == 0 ? text + 2 : text;
    const size_t length = strlen(digits);
    return length > 0 && length <= maxDigits && strspn(digits, "0123456789abcdefABCDEF") == length;
}

CLI::Validator hexDigits(size_t maxDigits, const std::string& what) {
    return CLI::Validator(
        [maxDigits, what](std::string& text) {
            return isHexNumber(text.c_str(), maxDigits) ? std::string()
                                                        : "'" + text + "' is not " + what;
        },
        "HEX");
}
