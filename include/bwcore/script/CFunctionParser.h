// CFunctionParser: finds the declarations and definitions of an installation script in the
// token sequence of a tokenizer and records them, with their lines, under their names.
//
// Parse reads a whole script into four caller's maps:
//  - functions: function definitions (lines of "begin" and of the ";" after "end") and prototypes
//    (line of the "(" after the name, and whether the prototype was exported);
//  - properties: property declarations, and the section markers "{Start}" (line of the last
//    top-level #if, #endif or #include, 1 without one), "{Properties}", "{Local Variables}" and
//    "{Methods}" (line of the comment holding them);
//  - methods: method declarations, and the definitions of functions declared as methods;
//  - tags: regions between comments holding "{{BW_SCRIPT_TAG(name)" and "}}BW_SCRIPT_TAG(name)".
// Lines of declarations and definitions are recorded counted from 0, lines of markers and tags
// counted from 1, as the tokenizer counts them. Malformed declarations are passed over without a
// record; nothing fails.
//
// GetNextFunction hands out one function definition at a time with the line comments before it.
#pragma once

#include <bwcore/afx/CStringArray.h>
#include <bwcore/script/CScriptFunctionInfo.h>
#include <bwcore/script/CTokenizer.h>

class BWCORE_API CFunctionParser {
public:
    // The tokenizer is not owned and must outlive the parser.
    explicit CFunctionParser(CTokenizer* pTokenizer);
    CFunctionParser(const CFunctionParser& other) = default;
    CFunctionParser(CFunctionParser&& other) = default;
    CFunctionParser& operator=(const CFunctionParser& other) = default;
    CFunctionParser& operator=(CFunctionParser&& other) = default;
    ~CFunctionParser() = default;

    // Reads the tokenizer's stream to its end and records what it declares, with strFile as the
    // file name. Always true.
    bool Parse(const CString& strFile, CScriptFunctionInfoMap& functions,
               CScriptFunctionInfoMap& properties, CScriptFunctionInfoMap& methods,
               CScriptFunctionInfoMap& tags);

    // Finds the next function definition, appending the texts of the line comments met on the way
    // to comments. On success strName is the function's name and nEndLine the line of its "end"
    // (from 0); nStartLine is set (from 0) at the third comment, and at the function's name while
    // the array holds two comments; otherwise it keeps the caller's value. False at the end of the
    // stream; strName may then have been set. The array is never emptied here.
    bool GetNextFunction(CString& strName, CStringArray& comments, int& nStartLine, int& nEndLine);

protected:
    // After "function": records a complete definition; false when it was rejected.
    bool HandleFunction(const CString& strFile, CScriptFunctionInfoMap& functions,
                        CScriptFunctionInfoMap& methods, CScriptFunctionInfoMap& tags);
    // After "prototype", after "export" (bExported, expecting "prototype" next) and after a
    // method declaration: records the declaration; false when the statement was skipped.
    bool HandleProtoType(const CString& strFile, CScriptFunctionInfoMap& functions, bool bExported);
    // After "method": records the declaration; false when no "(" came, or nothing before it.
    bool HandleMethod(const CString& strFile, CScriptFunctionInfoMap& methods);
    // After "property": records the declaration; false when it was rejected.
    bool HandleProperty(const CString& strFile, CScriptFunctionInfoMap& properties);
    // After a line comment: records a section marker (true) or the comment's tags (false).
    bool HandleComments(const CString& strFile, CScriptFunctionInfoMap& properties,
                        CScriptFunctionInfoMap& methods, CScriptFunctionInfoMap& tags);
    // Records the opening and closing tags that the comment text holds at the current line.
    void CheckCommentForTag(const CString& strComment, CScriptFunctionInfoMap& tags);
    // The text between the first "(" and the first ")" after it; empty when the "(" is missing or
    // the first character, or no ")" follows.
    CString GetPerenthesesContents(const CString& strText) const;
    // Fetches tokens up to and including the next ";", or to the end of the stream.
    void EatCurrentStatement();
    // Fetches one token; whether it is of kind eExpected.
    bool ExpectToken(eToken eExpected);

    CTokenizer* m_pTokenizer;

private:
    // The record of the named tag. While Parse runs, the record last looked up is kept: the
    // closing tag most often names the tag opened last, and the map only grows meanwhile.
    CScriptFunctionInfo& TagRecord(CScriptFunctionInfoMap& tags, const CString& strName);

    CScriptFunctionInfoMap* m_pParseTags = nullptr; // Parse's tag map while it runs
    CScriptFunctionInfoMap::value_type* m_pLastTag = nullptr;
};
