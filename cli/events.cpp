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

namespace {

void printText(CEventFileScriptBrowser& browser) {
    TextOutput out;
    out.raw("category\tevent\tfunction\tfile\tstart_line\tend_line");
    out.endLine();
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        out.field(it->first.first.first, true).raw("\t").field(it->first.first.second, true);
        out.raw("\t").field(it->first.second, true).raw("\t").field(it->second.m_strFile, true);
        out.raw("\t").line(it->second.m_nStartLine, true).raw("\t");
        out.line(it->second.m_nEndLine, true).endLine();
    }
}

void printJson(CEventFileScriptBrowser& browser) {
    Json handlers = Json::array();
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        handlers.push_back({{"category", utf8FromAnsi(it->first.first.first)},
                            {"event", utf8FromAnsi(it->first.first.second)},
                            {"function", utf8FromAnsi(it->first.second)},
                            {"file", utf8FromAnsi(it->second.m_strFile)},
                            {"start_line", it->second.m_nStartLine},
                            {"end_line", it->second.m_nEndLine}});
    }
    writeJson({{"codepage", GetACP()}, {"handlers", std::move(handlers)}});
}

} // namespace

int runEvents(int argc, char** argv) {
    CLI::App app("Index event scripts: handlers by category and event.", "bwcore events");
    ScriptArguments args;
    addScriptOptions(app, args);
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    CEventFileScriptBrowser browser;
    // Plain file streams: each file's lines are shown as they stand in that file.
    const bool allRead = forEachScript("events", args.files,
                                       [&](CCodeStream& stream) { browser.ParseFile(&stream); });
    if (args.json)
        printJson(browser);
    else
        printText(browser);
    return finishOutput("events") && allRead ? kExitOk : kExitFailure;
}
