// A directory of its own for a test, in the system's temporary folder, removed with everything in
// it when the test ends.
#pragma once

#include <filesystem>
#include <string>

class TestDirectory {
public:
    TestDirectory();
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;
    ~TestDirectory();

    // The directory's path as the Win32 functions take it (the platform's own separators).
    std::string Path() const { return m_path.string(); }
    // A name inside the directory ("a.txt", "sub/b.txt").
    std::string Path(const std::string& name) const { return (m_path / name).string(); }

    // Writes a file with exactly these bytes.
    void WriteFile(const std::string& name, const std::string& bytes) const;
    // The whole content of a file ("" when it cannot be read).
    std::string ReadFile(const std::string& name) const;

private:
    std::filesystem::path m_path;
};
