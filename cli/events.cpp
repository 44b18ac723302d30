// bwcore events [--json] FILE...: the event handlers of a set of event script files, indexed into
// one event-file script browser, in the order found.
//
// Text form: a header line, then one tab-separated record per handler, with the lines of the
// handler in its file shown from 1 ("-" for an empty field). JSON form: the same records with the
// lines as the browser stores them (from 0).
#include "Command.h"
#include "Output.h"
#include "ScriptFiles.h"

#include <bwcore/bwcore.h>

#include <string.h>

namespace {

void writeTextFields(const CEventFileScriptBrowser::Entry& entry) {
    writeTextField(stdout, entry.first.first.first);
    fputc('\t', stdout);
    writeTextField(stdout, entry.first.first.second);
    fputc('\t', stdout);
    writeTextField(stdout, entry.first.second);
    fputc('\t', stdout);
    writeTextField(stdout, entry.second.m_strFile);
    fputc('\t', stdout);
    writeTextLine(stdout, entry.second.m_nStartLine, true);
    fputc('\t', stdout);
    writeTextLine(stdout, entry.second.m_nEndLine, true);
    fputc('\n', stdout);
}

void printText(CEventFileScriptBrowser& browser) {
    fputs("category\tevent\tfunction\tfile\tstart_line\tend_line\n", stdout);
    for (auto it = browser.Begin(); it != browser.End(); ++it)
        writeTextFields(*it);
}

void writeJsonText(const CString& text) {
    writeJsonString(stdout, text, static_cast<int>(strlen(text)));
}

void printJson(CEventFileScriptBrowser& browser) {
    fprintf(stdout, "{\"codepage\": %u,\n\"handlers\": [", GetACP());
    const char* separator = "\n";
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        fprintf(stdout, "%s  {\"category\": ", separator);
        writeJsonText(it->first.first.first);
        fputs(", \"event\": ", stdout);
        writeJsonText(it->first.first.second);
        fputs(", \"function\": ", stdout);
        writeJsonText(it->first.second);
        fputs(", \"file\": ", stdout);
        writeJsonText(it->second.m_strFile);
        fprintf(stdout, ", \"start_line\": %d, \"end_line\": %d}", it->second.m_nStartLine,
                it->second.m_nEndLine);
        separator = ",\n";
    }
    fputs("\n]}\n", stdout);
}

} // namespace

int runEvents(int argc, char** argv) {
    ScriptArguments args;
    if (!parseScriptArguments("events", argc, argv, args))
        return kExitUsage;
    CEventFileScriptBrowser browser;
    // Plain file streams: each file's lines are shown as they stand in that file.
    const bool allRead = forEachScript(
        "events", args.files, [&](CCodeFileStream& stream) { browser.ParseFile(&stream); });
    if (args.json)
        printJson(browser);
    else
        printText(browser);
    return allRead ? kExitOk : kExitFailure;
}
