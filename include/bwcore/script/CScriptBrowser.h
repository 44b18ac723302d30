// CScriptBrowser: the index of the functions, prototypes, methods, properties, section markers and
// tagged regions of a set of installation script files.
//
// Each ParseFile replaces what the browser held from the stream's file by what the file declares
// now, so the four maps always describe the files as last parsed. A record belongs to a file
// through its two file fields: the definition's lines go with m_strFile, the declaration's line
// with m_strDeclFile. A function prototyped in one file and defined in another thus keeps its
// record while either file is still indexed. Section markers and tags carry no file name; a later
// parse overwrites their lines.
//
// After every ParseFile and OnFileRemoved no map holds a record whose three line fields are all
// -1.
//
// The list operations append the names, each followed by a comma, to the caller's text and then
// overwrite the text's last comma with a zero character; the text keeps its length, so read as
// zero-terminated text it ends without the comma.
#pragma once

#include <bwcore/afx/CString.h>
#include <bwcore/script/CCodeStream.h>
#include <bwcore/script/CScriptFunctionInfo.h>

class BWCORE_API CScriptBrowser {
public:
    // The kind of record that GetFunctionInfo looks up; the values cross the exported interface.
    // Callers may pass any int, so the type holds every int value.
    enum EFuncType : int {
        eFuncProperty = 0, // properties and section markers
        eFuncMethod = 1,
        eFuncFunction = 2, // functions and prototypes
        eFuncTag = 3,
    };

    CScriptBrowser();
    CScriptBrowser(const CScriptBrowser& other);
    CScriptBrowser& operator=(const CScriptBrowser& other);
    ~CScriptBrowser();

    // m_pBrowser, which only the copy operations give a value (null in a new browser).
    CScriptBrowser* operator->();

    // Indexes the script of an open stream under the stream's file name, after forgetting what
    // the browser held from that file. False only for a null stream, which changes nothing.
    bool ParseFile(CCodeStream* pStream);

    // Sets pInfo to the record of strName in the map of kind eType and returns true; pInfo is null
    // and the result false when the name is absent or the kind unknown. The record stays where
    // it is until its file is forgotten or the browser is assigned to or destroyed.
    bool GetFunctionInfo(const CString& strName, EFuncType eType, CScriptFunctionInfo*& pInfo);

    // The records of kind eType in key order, for callers that walk the index rather than split
    // the list texts (a name may hold a comma); null for a kind outside the table. The map is the
    // browser's own and changes with it.
    const CScriptFunctionInfoMap* GetRecords(EFuncType eType) const;

    // Functions and prototypes.
    void GetFunctionStrings(CString& strText) const;
    // Functions whose last prototype was exported.
    void GetExportStrings(CString& strText) const;
    // The definition file of each function, in the order of GetFunctionStrings; empty for a
    // function without a definition.
    void GetFileDefinitions(CString& strText) const;
    void GetMethods(CString& strText) const;
    // Properties and section markers.
    void GetProperties(CString& strText) const;

    // The number of functions, and their end lines in the order of GetFunctionStrings (-1 for a
    // function without a definition). GetEndLineArray writes nothing for a null array.
    int GetEndLineArraySize() const;
    void GetEndLineArray(int* pEndLines) const;

    // Forgets the file in all four maps. Always true.
    bool OnFileRemoved(const CString& strFile);
    // Gives every record of the old file (exact spelling) the new name. Always true.
    bool OnFileRenamed(const CString& strOldName, const CString& strNewName);

private:
    static void ForgetFile(CScriptFunctionInfoMap& map, const CString& strFile);
    static void ClipOffTrailingComma(CString& strText);

    CScriptBrowser* m_pBrowser;
    CScriptFunctionInfoMap m_functions;
    CScriptFunctionInfoMap m_properties;
    CScriptFunctionInfoMap m_methods;
    CScriptFunctionInfoMap m_tags;
};
