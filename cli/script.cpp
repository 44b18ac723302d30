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

struct Record {
    const Kind* kind;
    const CString* name;
    const CScriptFunctionInfo* info;
};

bool isSectionMarker(const CString& name) {
    for (const char* marker : kSectionMarkers) {
        if (name == marker)
            return true;
    }
    return false;
}

// The records of one kind, walked in the browser's map (valid while the browser is unchanged);
// the section markers among the properties go to `sections`.
void addRecords(const CScriptBrowser& browser, CScriptBrowser::EFuncType type, const Kind& kind,
                std::vector<Record>& records, std::vector<Record>* sections = nullptr) {
    for (const auto& item : *browser.GetRecords(type)) {
        if (sections != nullptr && isSectionMarker(item.first))
            sections->push_back({&kSection, &item.first, &item.second});
        else
            records.push_back({&kind, &item.first, &item.second});
    }
}

std::vector<Record> collectRecords(const CScriptBrowser& browser) {
    std::vector<Record> records;
    std::vector<Record> sections;
    addRecords(browser, CScriptBrowser::eFuncFunction, kFunction, records);
    addRecords(browser, CScriptBrowser::eFuncMethod, kMethod, records);
    addRecords(browser, CScriptBrowser::eFuncProperty, kProperty, records, &sections);
    records.insert(records.end(), sections.begin(), sections.end());
    addRecords(browser, CScriptBrowser::eFuncTag, kTag, records);
    return records;
}

void printText(const std::vector<Record>& records) {
    TextOutput out;
    out.raw("kind\tname\tdecl_file\tdecl_line\tfile\tstart_line\tend_line\texported");
    out.endLine();
    for (const Record& r : records) {
        const bool fromZero = r.kind->countedFromZero;
        out.raw(r.kind->name).raw("\t").field(*r.name, true).raw("\t");
        out.field(r.info->m_strDeclFile, true).raw("\t").line(r.info->m_nDeclLine, fromZero);
        out.raw("\t").field(r.info->m_strFile, true).raw("\t");
        out.line(r.info->m_nStartLine, fromZero).raw("\t").line(r.info->m_nEndLine, fromZero);
        out.raw(r.info->m_bExported ? "\tyes" : "\tno").endLine();
    }
}

void printJson(const std::vector<Record>& records) {
    Json document = {{"codepage", GetACP()}};
    for (const Kind* kind : {&kFunction, &kMethod, &kProperty, &kSection, &kTag}) {
        Json list = Json::array();
        for (const Record& r : records) {
            if (r.kind != kind)
                continue;
            list.push_back({{"name", utf8FromAnsi(*r.name)},
                            {"decl_file", utf8FromAnsi(r.info->m_strDeclFile)},
                            {"decl_line", r.info->m_nDeclLine},
                            {"file", utf8FromAnsi(r.info->m_strFile)},
                            {"start_line", r.info->m_nStartLine},
                            {"end_line", r.info->m_nEndLine},
                            {"exported", r.info->m_bExported}});
        }
        document[kind->member] = std::move(list);
    }
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
    const std::vector<Record> records = collectRecords(*browser);
    if (args.json)
        printJson(records);
    else
        printText(records);
    return finishOutput("script") && allRead ? kExitOk : kExitFailure;
}
