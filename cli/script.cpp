// bwcore script [--json] FILE...: what a set of installation scripts declares, indexed into one
// script browser: functions and prototypes, methods, properties, section markers and tags.
//
// Text form: a header line, then one tab-separated record per line, in the order functions,
// methods, properties, sections, tags, each kind in name order. Lines are shown from 1; "-"
// stands for an empty field or a line that was not recorded. JSON form: the records under one
// member per kind, with the lines as the browser stores them (declarations and definitions from
// 0, section markers and tags from 1, -1 for none).
#include "Command.h"
#include "Output.h"
#include "ScriptFiles.h"

#include <bwcore/bwcore.h>

#include <string.h>
#include <vector>

namespace {

struct Kind {
    const char* name;   // the kind column of the text form
    const char* member; // the JSON member that lists the records
    // Whether the stored lines count from 0 (declarations, definitions) or from 1 (markers, tags).
    bool countedFromZero;
};

const Kind kFunction = {"function", "functions", true};
const Kind kMethod = {"method", "methods", true};
const Kind kProperty = {"property", "properties", true};
const Kind kSection = {"section", "sections", false};
const Kind kTag = {"tag", "tags", false};

// The section markers, which the browser keeps among the properties.
const char* const kSectionMarkers[] = {"{Start}", "{Properties}", "{Local Variables}", "{Methods}"};

bool isSectionMarker(const CString& name) {
    for (const char* marker : kSectionMarkers) {
        if (name == marker)
            return true;
    }
    return false;
}

// Calls visit(kind, name, info) for every record in the order of the output: functions, methods,
// properties, sections (the markers among the properties), tags, each kind in name order. The
// records are written as the maps are walked, each while its map node is at hand.
template <class Visit>
void forEachRecord(const CScriptBrowser& browser, Visit visit) {
    for (const auto& item : *browser.GetRecords(CScriptBrowser::eFuncFunction))
        visit(kFunction, item.first, item.second);
    for (const auto& item : *browser.GetRecords(CScriptBrowser::eFuncMethod))
        visit(kMethod, item.first, item.second);
    std::vector<const CScriptFunctionInfoMap::value_type*> sections;
    for (const auto& item : *browser.GetRecords(CScriptBrowser::eFuncProperty)) {
        if (isSectionMarker(item.first))
            sections.push_back(&item);
        else
            visit(kProperty, item.first, item.second);
    }
    for (const auto* item : sections)
        visit(kSection, item->first, item->second);
    for (const auto& item : *browser.GetRecords(CScriptBrowser::eFuncTag))
        visit(kTag, item.first, item.second);
}

void printText(const CScriptBrowser& browser) {
    TextOutput out;
    out.raw("kind\tname\tdecl_file\tdecl_line\tfile\tstart_line\tend_line\texported");
    out.endLine();
    forEachRecord(
        browser, [&](const Kind& kind, const CString& name, const CScriptFunctionInfo& info) {
            const bool fromZero = kind.countedFromZero;
            out.raw(kind.name).raw("\t").field(name, true).raw("\t");
            out.field(info.m_strDeclFile, true).raw("\t").line(info.m_nDeclLine, fromZero);
            out.raw("\t").field(info.m_strFile, true).raw("\t");
            out.line(info.m_nStartLine, fromZero).raw("\t").line(info.m_nEndLine, fromZero);
            out.raw(info.m_bExported ? "\tyes" : "\tno").endLine();
        });
}

void printJson(const CScriptBrowser& browser) {
    Json document = {{"codepage", GetACP()}};
    for (const Kind* kind : {&kFunction, &kMethod, &kProperty, &kSection, &kTag})
        document[kind->member] = Json::array();
    forEachRecord(
        browser, [&](const Kind& kind, const CString& name, const CScriptFunctionInfo& info) {
            document[kind.member].push_back({{"name", utf8FromAnsi(name)},
                                             {"decl_file", utf8FromAnsi(info.m_strDeclFile)},
                                             {"decl_line", info.m_nDeclLine},
                                             {"file", utf8FromAnsi(info.m_strFile)},
                                             {"start_line", info.m_nStartLine},
                                             {"end_line", info.m_nEndLine},
                                             {"exported", info.m_bExported}});
        });
    writeJson(document);
}

} // namespace

int runScript(int argc, char** argv) {
    CLI::App app("Index scripts: functions, methods, properties, sections and tags.",
                 "bwcore script");
    ScriptArguments args;
    addScriptOptions(app, args);
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    // The index lives until the process ends, which gives its memory back at once: freeing tens
    // of thousands of records one by one would cost more than writing them out.
    static CScriptBrowser* const browser = new CScriptBrowser;
    const bool allRead = forEachScript("script", args.files,
                                       [&](CCodeStream& stream) { browser->ParseFile(&stream); });
    if (args.json)
        printJson(*browser);
    else
        printText(*browser);
    return finishOutput("script") && allRead ? kExitOk : kExitFailure;
}
