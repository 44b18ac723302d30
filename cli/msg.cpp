// bwcore msg [--json] [ID|CODE...]: the message catalogue's texts.
//
// An id is the catalogue identifier; a negative number is an error code, whose message is the
// code negated. Without arguments every entry is listed, in identifier order.
#include "Command.h"
#include "Output.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
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
    for (const Entry& e : entries) {
        if (!e.found) {
            fprintf(stdout, "%ld\t(no such message)\n", e.id);
            continue;
        }
        fprintf(stdout, "%ld\t", e.id);
        writeEscapedText(stdout, e.text, e.text.GetLength());
        fputc('\n', stdout);
    }
}

void printJson(const std::vector<Entry>& entries) {
    fprintf(stdout, "{\"codepage\": %u, \"messages\": [", GetACP());
    const char* separator = "\n";
    for (const Entry& e : entries) {
        fprintf(stdout, "%s  {\"id\": %ld, ", separator, e.id);
        if (e.found) {
            fputs("\"text\": ", stdout);
            writeJsonString(stdout, e.text, e.text.GetLength());
        } else {
            fputs("\"text\": null", stdout);
        }
        fputc('}', stdout);
        separator = ",\n";
    }
    fputs("\n]}\n", stdout);
}

} // namespace

int runMsg(int argc, char** argv) {
    bool json = false;
    std::vector<Entry> entries;
    bool listAll = true;
    for (int i = 1; i < argc; ++i) {
        long value = 0;
        if (strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (parseNumber(argv[i], value)) {
            listAll = false;
            entries.push_back(lookUp(value));
        } else {
            fprintf(stderr, "bwcore msg: '%s' is not a message id or error code\n", argv[i]);
            return kExitUsage;
        }
    }
    if (listAll) {
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
    for (const Entry& e : entries) {
        if (!e.found)
            return kExitFailure;
    }
    return kExitOk;
}
