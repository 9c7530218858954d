#pragma once
// The whole per-user store in memory: keys in file order, each with its values in file order.
// Key paths are full section names ("HKEY_CURRENT_USER\Control Panel\Desktop"); key and value
// names compare without regard to ASCII case but keep the spelling they were written with.
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

struct RegistryNamedValue {
    std::string name; // "" is the key's default value
    RegistryValue value;
};

struct RegistryDocumentKey {
    std::string path;
    std::vector<RegistryNamedValue> values;

    const RegistryNamedValue* FindValue(std::string_view name) const;
    RegistryNamedValue* FindValue(std::string_view name);
    // Replaces the data and type of a value of that name (keeping its place and spelling) or
    // appends a new one.
    void SetValue(std::string_view name, RegistryValue value);
    bool DeleteValue(std::string_view name);
};

struct RegistryDocument {
    std::vector<RegistryDocumentKey> keys;

    const RegistryDocumentKey* FindKey(std::string_view path) const;
    RegistryDocumentKey* FindKey(std::string_view path);
    // A key exists when it has a section of its own or any key below it does, as a key
    // imported from a section brings its parents into being.
    bool KeyExists(std::string_view path) const;
    // The key's section, appended at the end when it has none yet.
    RegistryDocumentKey& EnsureKey(std::string_view path);
    // Removes the key's section and those of every key below it; false when there were none.
    bool DeleteKeyTree(std::string_view path);
};

// True when path names key or a key below it.
bool IsSameOrBelowKey(std::string_view path, std::string_view key);
