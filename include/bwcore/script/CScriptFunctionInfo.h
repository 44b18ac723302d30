// CScriptFunctionInfo: what the script indexes record under a name, and the map type that holds
// such records.
//
// Lines of declarations and definitions are counted from 0, lines of section markers and tags
// from 1; -1 means that nothing was recorded in that field.
#pragma once

#include <bwcore/afx/CString.h>

#include <map>

class BWCORE_API CScriptFunctionInfo {
public:
    CString m_strFile;        // file holding the definition
    CString m_strDeclFile;    // file holding the declaration
    int m_nDeclLine = -1;     // line of the declaration
    int m_nStartLine = -1;    // first line of the definition, marker or tagged region
    int m_nEndLine = -1;      // last line of the definition, marker or tagged region
    bool m_bExported = false; // the last prototype seen for the name was exported
};

// A script index: records by name, in the order of CString's case-sensitive comparison. Writing a
// field through operator[] creates a new record for a name not yet present.
typedef std::map<CString, CScriptFunctionInfo> CScriptFunctionInfoMap;
