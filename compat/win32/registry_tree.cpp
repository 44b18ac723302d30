#include "registry_tree.h"

#include <bwcore/win32/strings.h>

#include <utility>

namespace bwcompat {

std::string FoldName(const std::string& name) {
    std::string folded = name;
    for (char c : folded) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            // Keeps double-byte characters whole. It stops at an embedded zero, which no name
            // passed to the A functions can hold anyway.
            CharUpperA(&folded[0]);
            return folded;
        }
    }
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

const RegistryKey* RegistryKey::Find(const std::string& name) const {
    if (link_ != nullptr)
        return link_->Find(name);
    const auto found = subkeys_.find(FoldName(name));
    return found == subkeys_.end() ? nullptr : found->second.get();
}

RegistryKey* RegistryKey::FindOwn(const std::string& name) {
    const auto found = subkeys_.find(FoldName(name));
    return found == subkeys_.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::Open(const std::string& name) {
    std::unique_ptr<RegistryKey>& subkey = subkeys_[FoldName(name)];
    if (subkey == nullptr)
        subkey = std::make_unique<RegistryKey>();
    return *subkey;
}

void RegistryKey::Remove(const std::string& name) {
    subkeys_.erase(FoldName(name));
}

const RegistryValue* RegistryKey::FindValue(const std::string& name) const {
    if (link_ != nullptr)
        return link_->FindValue(name);
    const auto found = values_.find(FoldName(name));
    return found == values_.end() ? nullptr : &found->second;
}

void RegistryKey::SetValue(const std::string& name, RegistryValue value) {
    values_[FoldName(name)] = std::move(value);
}

void RegistryKey::RemoveValue(const std::string& name) {
    values_.erase(FoldName(name));
}

} // namespace bwcompat
