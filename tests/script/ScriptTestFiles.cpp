#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <utility>

ScriptTestFile::ScriptTestFile(const std::string& bytes) {
    // Random names, so that test programs running side by side never share a file.
    static std::mt19937 random{std::random_device{}()};
    const std::string name = "bwcore_script_test_" + std::to_string(random()) + ".rul";
    m_path = std::filesystem::temp_directory_path() / name;
    Write(bytes);
}

ScriptTestFile::~ScriptTestFile() {
    std::error_code error;
    std::filesystem::remove(m_path, error);
}

void ScriptTestFile::Write(const std::string& bytes) const {
    std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

OpenScript::OpenScript(const std::string& bytes) : file(bytes), stream(file.GetPath()) {
    EXPECT_TRUE(stream.OpenFile());
}

std::vector<std::string> Elements(const CStringArray& array) {
    std::vector<std::string> elements;
    for (INT_PTR i = 0; i < array.GetSize(); ++i) {
        elements.emplace_back(array[i].GetString(), static_cast<size_t>(array[i].GetLength()));
    }
    return elements;
}

namespace {

std::string FileName(const CString& strFile, const std::vector<CString>& files) {
    for (size_t i = 0; i < files.size(); ++i) {
        if (strFile == files[i]) {
            return std::string(1, static_cast<char>('A' + i));
        }
    }
    return strFile.GetString();
}

} // namespace

std::string Describe(const CScriptFunctionInfo& info, const std::vector<CString>& files) {
    return FileName(info.m_strFile, files) + "/" + FileName(info.m_strDeclFile, files) + "/" +
           std::to_string(info.m_nDeclLine) + "/" + std::to_string(info.m_nStartLine) + "/" +
           std::to_string(info.m_nEndLine) + (info.m_bExported ? "/E" : "");
}

std::string Describe(const CScriptFunctionInfoMap& functions,
                     const CScriptFunctionInfoMap& properties,
                     const CScriptFunctionInfoMap& methods, const CScriptFunctionInfoMap& tags,
                     const std::vector<CString>& files) {
    std::string text;
    const std::pair<const char*, const CScriptFunctionInfoMap*> maps[] = {
        {"f", &functions}, {"p", &properties}, {"m", &methods}, {"t", &tags}};
    for (const auto& map : maps) {
        std::string records;
        for (const auto& entry : *map.second) {
            const std::string record = Describe(entry.second, files);
            if (map.second != &properties || entry.first != "{Start}" || record != "//-1/1/1") {
                records += (records.empty() ? "" : " ") + std::string(entry.first) + ":" + record;
            }
        }
        if (!records.empty()) {
            text += (text.empty() ? "" : " ") + std::string(map.first) + "{" + records + "}";
        }
    }
    return text;
}
