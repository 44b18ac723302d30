// File associations for a test program: keys below the classes root, each with its default
// value, as the registry functions then read them on either platform.
//
// On Linux the keys become the whole classes root of the process: they are written to a registry
// export file that BWCORE_CLASSES_ROOT names, so the object must be made before the process's
// first registry call (in SetUpTestSuite of the only suite that reads the registry, say). On
// Windows they are created under HKEY_CURRENT_USER\Software\Classes, which the classes root
// shows, and, for Wine, whose classes root does not show them, in the classes root itself; they
// are deleted again with the object.
#pragma once

#include <string>
#include <vector>

struct TestClassKey {
    std::string path;  // below the classes root: ".bwi", "bwcore.icon\\DefaultIcon"
    const char* value; // the default value; null for a key without one
};

class TestClasses {
public:
    explicit TestClasses(const std::vector<TestClassKey>& keys);
    TestClasses(const TestClasses&) = delete;
    TestClasses& operator=(const TestClasses&) = delete;
    ~TestClasses();

private:
    std::vector<std::string> m_roots; // the top-level keys made (Windows), or the file (Linux)
};
