// bwcore msg [--json] [ID|CODE...]: the message catalogue's texts.
//
// An id is the catalogue identifier; a negative number is an error code, whose message is the
// code negated. Without arguments every entry is listed, in identifier order.
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

struct Entry {
    long id; // the catalogue identifier (an error code negated)
    bool found;
    CString text;
};

bool parseNumber(const char* arg, long& value) {
    char* end = nullptr;
    value = strtol(arg, &end, 10);
    return end != arg && *end == '\0';
}

// Identifiers are 16-bit; anything outside that range has no message.
Entry lookUp(long number) {
    const long kMaxId = 0xFFFF;
    Entry e{number, false, CString()};
    if (number >= -kMaxId && number <= kMaxId) {
        e.id = number < 0 ? -number : number;
        e.found = e.text.LoadString(static_cast<UINT>(e.id)) != FALSE;
    }
    return e;
}

void printText(const std::vector<Entry>& entries) {
    TextOutput out;
    for (const Entry& e : entries) {
        out.raw(std::to_string(e.id).c_str()).raw("\t");
        if (e.found)
            out.field(e.text);
        else
            out.raw("(no such message)");
        out.endLine();
    }
}

void printJson(const std::vector<Entry>& entries) {
    Json messages = Json::array();
    for (const Entry& e : entries)
        messages.push_back({{"id", e.id}, {"text", e.found ? Json(utf8FromAnsi(e.text)) : Json()}});
    writeJson({{"codepage", GetACP()}, {"messages", std::move(messages)}});
}

} // namespace

int runMsg(int argc, char** argv) {
    CLI::App app("Show message catalogue texts, all of them without arguments. A negative number "
                 "is an error code, whose message is the code negated.",
                 "bwcore msg");
    bool json = false;
    std::vector<std::string> numbers;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("ID", numbers, "message ids and error codes");
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    std::vector<Entry> entries;
    for (const std::string& number : numbers) {
        long value = 0;
        if (!parseNumber(number.c_str(), value)) {
            fprintf(stderr, "bwcore msg: '%s' is not a message id or error code\n", number.c_str());
            return kExitUsage;
        }
        entries.push_back(lookUp(value));
    }
    if (numbers.empty()) {
        for (long id = 0; id <= 0xFFFF; ++id) {
            Entry e = lookUp(id);
            if (e.found)
                entries.push_back(e);
        }
    }
    if (json)
        printJson(entries);
    else
        printText(entries);
    if (!finishOutput("msg"))
        return kExitFailure;
    for (const Entry& e : entries) {
        if (!e.found)
            return kExitFailure;
    }
    return kExitOk;
}
