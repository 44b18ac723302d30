// Helpers of the script tests: script files in the system's temporary folder, removed when the
// test ends, streams over them, and records written as short texts.
#pragma once

#include <bwcore/afx/CStringArray.h>
#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CScriptFunctionInfo.h>

#include <filesystem>
#include <string>
#include <vector>

class ScriptTestFile {
public:
    // Writes the bytes exactly as given (no line-end translation).
    explicit ScriptTestFile(const std::string& bytes);
    ScriptTestFile(const ScriptTestFile&) = delete;
    ScriptTestFile& operator=(const ScriptTestFile&) = delete;
    ~ScriptTestFile();

    void Write(const std::string& bytes) const;
    // The path as the library takes it.
    CString GetPath() const { return CString(m_path.string().c_str()); }

private:
    std::filesystem::path m_path;
};

// A script file and a stream over it, opened.
struct OpenScript {
    explicit OpenScript(const std::string& bytes);
    ScriptTestFile file;
    CCodeFileStream stream;
};

std::vector<std::string> Elements(const CStringArray& array);

// A record as "file/declFile/declLine/startLine/endLine", with "/E" when exported; a file that is
// files[i] is written as the letter 'A' + i.
std::string Describe(const CScriptFunctionInfo& info, const std::vector<CString>& files = {});
// The functions, properties, methods and tags maps of a script index as "f{...} p{...} m{...}
// t{...}", each with its records as "key:record" in key order. Empty maps are left out, and so is
// a "{Start}" at line 1, the value for a script without directives.
std::string Describe(const CScriptFunctionInfoMap& functions,
                     const CScriptFunctionInfoMap& properties,
                     const CScriptFunctionInfoMap& methods, const CScriptFunctionInfoMap& tags,
                     const std::vector<CString>& files = {});
