#include "TestClasses.h"

#include <bwcore/platform.h>

#include <stdlib.h>
#include <string.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#if defined(_WIN32)

// Windows shows the user's classes in the classes root; Wine does not, but lets the classes root
// itself be written, which Windows allows only to administrators. So both are written.
const char* const kBases[] = {"Software\\Classes\\", ""};

HKEY BaseKey(const char* base) {
    return *base ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
}

TestClasses::TestClasses(const std::vector<TestClassKey>& keys) {
    for (const TestClassKey& key : keys) {
        for (const char* base : kBases) {
            HKEY hKey = nullptr;
            if (RegCreateKeyExA(BaseKey(base), (base + key.path).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
                continue;
            if (key.value)
                RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(key.value),
                               static_cast<DWORD>(strlen(key.value) + 1));
            RegCloseKey(hKey);
        }
        m_roots.push_back(key.path.substr(0, key.path.find('\\')));
    }
}

TestClasses::~TestClasses() {
    for (const std::string& root : m_roots) {
        for (const char* base : kBases)
            RegDeleteTreeA(BaseKey(base), (base + root).c_str());
    }
}

#else

TestClasses::TestClasses(const std::vector<TestClassKey>& keys) {
    m_roots.push_back((std::filesystem::temp_directory_path() /
                       ("bwcore_classes_" + std::to_string(getpid()) + ".reg"))
                          .string());
    std::ofstream out(m_roots.front(), std::ios::binary | std::ios::trunc);
    out << "REGEDIT4\r\n";
    for (const TestClassKey& key : keys) {
        out << "\r\n[HKEY_CLASSES_ROOT\\" << key.path << "]\r\n";
        if (key.value) {
            out << "@=\"";
            for (const char* p = key.value; *p; ++p)
                out << (*p == '\\' || *p == '"' ? "\\" : "") << *p;
            out << "\"\r\n";
        }
    }
    setenv("BWCORE_CLASSES_ROOT", m_roots.front().c_str(), 1);
}

// The classes root was read at the first registry call; the file is no longer needed.
TestClasses::~TestClasses() {
    std::error_code error;
    std::filesystem::remove(m_roots.front(), error);
}

#endif
