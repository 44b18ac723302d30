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

#include <set>
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
    CString name;
    const CScriptFunctionInfo* info;
};

bool isSectionMarker(const CString& name) {
    for (const char* marker : kSectionMarkers) {
        if (name == marker)
            return true;
    }
    return false;
}

// The names of a list operation's text, which holds the names each followed by a comma, the last
// comma overwritten by a zero character. A name may itself hold a comma (a malformed declaration
// can give one), so a piece that names no record is joined with the following ones.
std::vector<CString> namesOfList(CScriptBrowser& browser, const CString& list,
                                 CScriptBrowser::EFuncType type) {
    std::vector<CString> names;
    if (list.GetLength() == 0)
        return names;
    const char* text = list;
    const int length = list.GetLength() - 1; // without the clipped comma
    CString candidate;
    bool joining = false;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && text[i] != ',')
            continue;
        if (joining)
            candidate += ',';
        candidate += CString(text + start, i - start);
        start = i + 1;
        CScriptFunctionInfo* info = nullptr;
        if (browser.GetFunctionInfo(candidate, type, info)) {
            names.push_back(candidate);
            candidate.Empty();
            joining = false;
        } else {
            joining = true;
        }
    }
    return names;
}

// The names that the comments of a script give to tagged regions, found as the browser finds
// them: the text between the first "(" of a comment holding a tag mark and the first ")" after
// it. Candidates only: the browser says which of them it recorded.
void collectTagNames(CCodeStream& stream, std::set<CString>& names) {
    CTokenizer tokenizer(&stream, true);
    char text[CTokenizer::TokenTextSize];
    while (tokenizer.Scan(eTokComment, eTokNone) != eTokEndOfFile) {
        tokenizer.GetTokenText(text);
        const CString comment(text);
        if (comment.Find("{{BW_SCRIPT_TAG") < 0 && comment.Find("}}BW_SCRIPT_TAG") < 0)
            continue;
        const int open = comment.Find('(');
        const int close = open >= 0 ? comment.Find(')', open) : -1;
        if (open >= 1 && close >= 0)
            names.insert(comment.Mid(open + 1, close - open - 1));
        else
            names.insert(CString());
    }
}

std::vector<Record> collectRecords(CScriptBrowser& browser, const std::set<CString>& tagNames) {
    std::vector<Record> records;
    CScriptFunctionInfo* info = nullptr;
    CString functions;
    browser.GetFunctionStrings(functions);
    for (const CString& name : namesOfList(browser, functions, CScriptBrowser::eFuncFunction)) {
        browser.GetFunctionInfo(name, CScriptBrowser::eFuncFunction, info);
        records.push_back({&kFunction, name, info});
    }
    CString methods;
    browser.GetMethods(methods);
    for (const CString& name : namesOfList(browser, methods, CScriptBrowser::eFuncMethod)) {
        browser.GetFunctionInfo(name, CScriptBrowser::eFuncMethod, info);
        records.push_back({&kMethod, name, info});
    }
    CString properties;
    browser.GetProperties(properties);
    std::vector<Record> sections;
    for (const CString& name : namesOfList(browser, properties, CScriptBrowser::eFuncProperty)) {
        browser.GetFunctionInfo(name, CScriptBrowser::eFuncProperty, info);
        if (isSectionMarker(name))
            sections.push_back({&kSection, name, info});
        else
            records.push_back({&kProperty, name, info});
    }
    records.insert(records.end(), sections.begin(), sections.end());
    for (const CString& name : tagNames) {
        if (browser.GetFunctionInfo(name, CScriptBrowser::eFuncTag, info))
            records.push_back({&kTag, name, info});
    }
    return records;
}

void printText(const std::vector<Record>& records) {
    fputs("kind\tname\tdecl_file\tdecl_line\tfile\tstart_line\tend_line\texported\n", stdout);
    for (const Record& r : records) {
        const bool fromZero = r.kind->countedFromZero;
        fprintf(stdout, "%s\t", r.kind->name);
        writeTextField(stdout, r.name);
        fputc('\t', stdout);
        writeTextField(stdout, r.info->m_strDeclFile);
        fputc('\t', stdout);
        writeTextLine(stdout, r.info->m_nDeclLine, fromZero);
        fputc('\t', stdout);
        writeTextField(stdout, r.info->m_strFile);
        fputc('\t', stdout);
        writeTextLine(stdout, r.info->m_nStartLine, fromZero);
        fputc('\t', stdout);
        writeTextLine(stdout, r.info->m_nEndLine, fromZero);
        fprintf(stdout, "\t%s\n", r.info->m_bExported ? "yes" : "no");
    }
}

void writeJsonText(const CString& text) {
    writeJsonString(stdout, text, static_cast<int>(strlen(text)));
}

void printJson(const std::vector<Record>& records) {
    fprintf(stdout, "{\"codepage\": %u", GetACP());
    for (const Kind* kind : {&kFunction, &kMethod, &kProperty, &kSection, &kTag}) {
        fprintf(stdout, ",\n\"%s\": [", kind->member);
        const char* separator = "\n";
        for (const Record& r : records) {
            if (r.kind != kind)
                continue;
            fprintf(stdout, "%s  {\"name\": ", separator);
            writeJsonText(r.name);
            fputs(", \"decl_file\": ", stdout);
            writeJsonText(r.info->m_strDeclFile);
            fprintf(stdout, ", \"decl_line\": %d, \"file\": ", r.info->m_nDeclLine);
            writeJsonText(r.info->m_strFile);
            fprintf(stdout, ", \"start_line\": %d, \"end_line\": %d, \"exported\": %s}",
                    r.info->m_nStartLine, r.info->m_nEndLine,
                    r.info->m_bExported ? "true" : "false");
            separator = ",\n";
        }
        fputs("\n]", stdout);
    }
    fputs("}\n", stdout);
}

} // namespace

int runScript(int argc, char** argv) {
    ScriptArguments args;
    if (!parseScriptArguments("script", argc, argv, args))
        return kExitUsage;
    CScriptBrowser browser;
    std::set<CString> tagNames;
    const bool allRead = forEachScript("script", args.files, [&](CCodeFileStream& stream) {
        browser.ParseFile(&stream);
        // The browser lists no tags; their names come from a second reading of the comments.
        CCodeFileStream again(stream.GetFileName());
        if (again.OpenFile())
            collectTagNames(again, tagNames);
    });
    const std::vector<Record> records = collectRecords(browser, tagNames);
    if (args.json)
        printJson(records);
    else
        printText(records);
    return allRead ? kExitOk : kExitFailure;
}
