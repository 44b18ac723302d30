// CEventFileScriptBrowser: the index of the event handler functions of event script files.
//
// In an event script each handler is preceded by two line comments that name its category and
// its event, in that order:
//     // Category: Setup
//     // Event: BeforeCopy
//     function OnBeforeCopy() begin ... end;
// A comment names the category when its text contains "Category", and otherwise the event when
// it contains "Event"; the value is what follows the keyword and one separator character, with
// white space trimmed. Only the first two comments since the previous handler count.
//
// The browser keeps one entry per handler, ((category, event), function name) and the record of
// the function's file and lines, in the order found, and an index from key to entry. Lines are
// those of the parser (from 0) plus the stream's line count before the parse, so that handlers of
// event files read through streams sharing one line array index that array.
#pragma once

#include <bwcore/afx/CString.h>
#include <bwcore/afx/CStringArray.h>
#include <bwcore/script/CCodeStream.h>
#include <bwcore/script/CScriptFunctionInfo.h>

#include <map>
#include <utility>
#include <vector>

class BWCORE_API CEventFileScriptBrowser {
public:
    // ((category, event), function name): ordered by category, then event, then function name,
    // each case-sensitively.
    typedef std::pair<std::pair<CString, CString>, CString> Key;
    typedef std::pair<Key, CScriptFunctionInfo> Entry;
    typedef std::vector<Entry>::iterator iterator;

    CEventFileScriptBrowser();
    CEventFileScriptBrowser(const CEventFileScriptBrowser& other);
    CEventFileScriptBrowser& operator=(const CEventFileScriptBrowser& other);
    ~CEventFileScriptBrowser();

    // Adds the handlers of the stream's script, read from its current position to its end.
    // False for a null stream, which changes nothing; true otherwise.
    bool ParseFile(CCodeStream* pStream);

    // Appends each category, in the order of the entries, that the array does not hold yet
    // (ignoring case, the caller's own elements included); "Components" is never reported.
    void GetCategories(CStringArray& categories) const;
    // Appends the event of every entry whose category equals strCategory ignoring case, in the
    // order of the entries, duplicates included.
    void GetEvents(const CString& strCategory, CStringArray& events) const;
    // The first entry, in the order found, whose category and event match exactly: its function
    // name and the address of its record. False, and the outputs untouched, when none matches.
    bool FindFunction(const CString& strCategory, const CString& strEvent, CString& strFunction,
                      CScriptFunctionInfo*& pInfo);

    // The entries in the order found. Iterators and record addresses stay valid until the next
    // ParseFile, reset, assignment or destruction.
    iterator Begin();
    iterator End();

    // Removes every entry; m_bAllowDuplicates keeps its value.
    void reset();

private:
    void RecordHandler(const Key& key, const CString& strFile, int nStartLine, int nEndLine);

    std::vector<Entry> m_entries;
    // The position in m_entries of each key; with duplicates, of the one added last.
    std::map<Key, int> m_index;

public:
    // When true, a handler found again under a key already present is added as a further entry
    // instead of replacing the present one's file and lines. False in a new browser.
    bool m_bAllowDuplicates;
};
