#include "TestDirectory.h"

#include <fstream>
#include <iterator>
#include <random>

TestDirectory::TestDirectory() {
    // Random names, so that test programs running side by side never share a directory.
    static std::mt19937 random{std::random_device{}()};
    m_path = std::filesystem::temp_directory_path() / ("bwcore_test_" + std::to_string(random()));
    std::filesystem::create_directory(m_path);
}

TestDirectory::~TestDirectory() {
    // Read-only files would stop the removal on Windows.
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, error))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

void TestDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream file(m_path / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TestDirectory::ReadFile(const std::string& name) const {
    std::ifstream file(m_path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
