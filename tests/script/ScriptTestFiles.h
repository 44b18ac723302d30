// Script files for the tests: each written to a file of its own in the system's temporary folder
// and removed when the test ends.
#pragma once

#include <bwcore/afx/CString.h>

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

    // The path as the library takes it.
    CString GetPath() const { return CString(m_path.string().c_str()); }

private:
    std::filesystem::path m_path;
};

// The lines joined, each followed by a line feed.
std::string JoinLines(const std::vector<std::string>& lines);
