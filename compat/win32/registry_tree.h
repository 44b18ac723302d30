// The registry as the Linux Win32 layer holds it: a tree of keys, each with named values, built
// once by a reader (reg_file.h, mime_database.h) and then only read. Internal to compat/win32.
#pragma once

#include <bwcore/win32/types.h>

#include <map>
#include <memory>
#include <string>

namespace bwcompat {

// A value as RegQueryValueExA hands it out: text already in the ANSI code page.
struct RegistryValue {
    DWORD type;
    std::string data;
};

// A key: its subkeys and values, found by name without regard to case (the ANSI code page's case
// mapping). Names are in the ANSI code page; the empty value name is the default value. A key
// may instead show another key's contents (a link), as HKEY_CURRENT_USER\Software\Classes shows
// the classes root.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The subkey of that name, or null.
    const RegistryKey* Find(const std::string& name) const;
    // The subkey of that name among the key's own (a link not followed), to be changed; or null.
    RegistryKey* FindOwn(const std::string& name);
    // The subkey of that name, added empty when missing.
    RegistryKey& Open(const std::string& name);
    // Removes the subkey of that name with everything below it, if there is one.
    void Remove(const std::string& name);

    // The value of that name, or null.
    const RegistryValue* FindValue(const std::string& name) const;
    // Sets the value of that name, replacing one there was.
    void SetValue(const std::string& name, RegistryValue value);
    void RemoveValue(const std::string& name);

    // Makes this key show `target`'s subkeys and values instead of its own.
    void LinkTo(const RegistryKey* target) { link_ = target; }

private:
    std::map<std::string, std::unique_ptr<RegistryKey>> subkeys_; // by folded name
    std::map<std::string, RegistryValue> values_;                 // by folded name
    const RegistryKey* link_ = nullptr;
};

// The name as names are compared: upper-cased through the ANSI code page.
std::string FoldName(const std::string& name);

} // namespace bwcompat
