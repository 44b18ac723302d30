// bwcore script [--json] [-R DIR]... FILE...: what a set of installation scripts declares,
// indexed into one script browser: functions and prototypes, methods, properties, section
// markers and tags.
//
// -R DIR (--recursive DIR) adds every *.bws file below DIR, as the directory cache finds them:
// the listings of DIR and its whole subtree in depth-first pre-order, the files of each in the
// order the system returned them, after the FILE arguments. The cache joins names with
// backslashes; the scripts are named with slashes between names, a path that the C runtime
// opens on every system, and under that name the index records them.
//
// Text form: a header line, then one tab-separated record per line, in the order functions,
// methods, properties, sections, tags, each kind in name order. Lines are shown from 1; "-"
// stands for an empty field or a line that was not recorded. JSON form: the records under one
// member per kind, with the lines as the browser stores them (declarations and definitions from
// 0, section markers and tags from 1, -1 for none).
#include "Command.h"
#include "Listings.h"
#include "Output.h"
#include "ScriptFiles.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <string.h>

#include <memory>
#include <string>
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
            out.raw(kind.name).raw('\t').field(name, true).raw('\t');
            out.repeatedField(info.m_strDeclFile, true).raw('\t').line(info.m_nDeclLine, fromZero);
            out.raw('\t').repeatedField(info.m_strFile, true).raw('\t');
            out.line(info.m_nStartLine, fromZero).raw('\t').line(info.m_nEndLine, fromZero);
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

// The path with each backslash between names turned into a slash; the trail byte of a
// double-byte character is never taken for one.
std::string withSlashes(const CString& path) {
    std::string result(path);
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\')
            result[static_cast<size_t>(p - static_cast<const char*>(path))] = '/';
    }
    return result;
}

// Appends every *.bws below each tree to files; false after a message naming each tree that
// could not be searched.
bool findScripts(const std::vector<std::string>& trees, std::vector<std::string>& files) {
    CDirInfo cache;
    bool allFound = true;
    for (const std::string& tree : trees) {
        const char* why = whyNotADirectory(tree);
        std::unique_ptr<CPtrArrayEx> listings;
        if (why == nullptr) {
            listings.reset(cache.QueryDir(tree.c_str(), "*.bws", 1));
            if (listings == nullptr || listings->GetSize() == 0)
                why = "it cannot be read";
        }
        if (why != nullptr) {
            fprintf(stderr, "bwcore script: cannot search '%s': %s\n", tree.c_str(), why);
            allFound = false;
            continue;
        }
        for (INT_PTR i = 0; i < listings->GetSize(); ++i) {
            const CPathInfo& listing = *listingAt(*listings, i);
            for (INT_PTR j = 0; j < listing.m_arrFiles.GetSize(); ++j)
                files.push_back(
                    withSlashes(entryPath(listing, entryAt(listing.m_arrFiles, j)->pszName)));
        }
    }
    return allFound;
}

} // namespace

int runScript(int argc, char** argv) {
    CLI::App app("Index scripts: functions, methods, properties, sections and tags.",
                 "bwcore script");
    ScriptArguments args;
    addScriptOptions(app, args)->required(false);
    std::vector<std::string> trees;
    app.add_option("-R,--recursive", trees, "index every *.bws file below DIR too")
        ->type_name("DIR")
        ->allow_extra_args(false);
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;
    if (args.files.empty() && trees.empty()) {
        fprintf(stderr, "bwcore script: FILE is required, or --recursive DIR\n"
                        "(see bwcore script --help)\n");
        return kExitUsage;
    }
    const bool allFound = findScripts(trees, args.files);
    // The index lives until the process ends, which gives its memory back at once: freeing tens
    // of thousands of records one by one would cost more than writing them out.
    static CScriptBrowser* const browser = new CScriptBrowser;
    const bool allRead = forEachScript("script", args.files,
                                       [&](CCodeStream& stream) { browser->ParseFile(&stream); });
    if (args.json)
        printJson(*browser);
    else
        printText(*browser);
    return finishOutput("script") && allRead && allFound ? kExitOk : kExitFailure;
}
