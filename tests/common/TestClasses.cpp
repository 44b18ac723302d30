#include "TestClasses.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

namespace {

#if defined(_WIN32)

const char kUserClasses[] = "Software\\Classes\\";

std::string TopLevelKey(const std::string& path) {
    return path.substr(0, path.find('\\'));
}

// The key with its value below the root; false when it cannot be made.
bool CreateKey(HKEY hRoot, const std::string& path, const char* value) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(hRoot, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool bSet =
        !value || RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(strlen(value) + 1)) == ERROR_SUCCESS;
    RegCloseKey(hKey);
    return bSet;
}

#else

// A value in the quotes of a registry export line.
std::string Quoted(const char* value) {
    std::string text = "\"";
    for (const char* p = value; *p; ++p) {
        if (*p == '\\' || *p == '"')
            text += '\\';
        text += *p;
    }
    return text + "\"";
}

#endif

} // namespace

TestClasses::TestClasses(const std::vector<TestClassKey>& keys) {
#if defined(_WIN32)
    // Windows shows the user's classes in the classes root; Wine does not, but lets the classes
    // root itself be written, which Windows allows only to administrators.
    for (const TestClassKey& key : keys) {
        EXPECT_TRUE(CreateKey(HKEY_CURRENT_USER, kUserClasses + key.path, key.value)) << key.path;
        CreateKey(HKEY_CLASSES_ROOT, key.path, key.value);
        m_roots.push_back(TopLevelKey(key.path));
    }
#else
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("bwcore_classes_" + std::to_string(getpid()) + ".reg");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "REGEDIT4\r\n";
    for (const TestClassKey& key : keys) {
        out << "\r\n[HKEY_CLASSES_ROOT\\" << key.path << "]\r\n";
        if (key.value)
            out << "@=" << Quoted(key.value) << "\r\n";
    }
    out.close();
    setenv("BWCORE_CLASSES_ROOT", file.c_str(), 1);
    m_roots.push_back(file.string());
#endif
}

TestClasses::~TestClasses() {
#if defined(_WIN32)
    for (const std::string& root : m_roots) {
        RegDeleteTreeA(HKEY_CURRENT_USER, (kUserClasses + root).c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, root.c_str());
    }
#else
    // The classes root was read at the first registry call; the file is no longer needed.
    std::error_code error;
    std::filesystem::remove(m_roots.front(), error);
#endif
}
