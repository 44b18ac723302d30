#include "ScriptTestFiles.h"

#include <fstream>
#include <random>

ScriptTestFile::ScriptTestFile(const std::string& bytes) {
    // Random names, so that test programs running side by side never share a file.
    static std::mt19937 random{std::random_device{}()};
    const std::string name = "bwcore_script_test_" + std::to_string(random()) + ".rul";
    m_path = std::filesystem::temp_directory_path() / name;
    std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScriptTestFile::~ScriptTestFile() {
    std::error_code error;
    std::filesystem::remove(m_path, error);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}
