#pragma once
// The whole per-user store in memory: keys in file order, each with its values in file order.
// Key paths are full section names ("HKEY_CURRENT_USER\Control Panel\Desktop"); key and value
// names compare without regard to ASCII case but keep the spelling they were written with. Both
// are indexed by their lower-cased names, so that a store of many thousands reads in linear time.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

struct RegistryNamedValue {
    std::string name; // "" is the key's default value
    RegistryValue value;
};

class RegistryDocumentKey {
public:
    explicit RegistryDocumentKey(std::string path = {}) : m_Path(std::move(path)) {}

    const std::string& Path() const { return m_Path; }
    const std::vector<RegistryNamedValue>& Values() const { return m_Values; }
    const RegistryValue* FindValue(std::string_view name) const;
    // Replaces the data and type of a value of that name (keeping its place and spelling) or
    // appends a new one.
    void SetValue(std::string_view name, RegistryValue value);

private:
    std::string m_Path;
    std::vector<RegistryNamedValue> m_Values;
    std::unordered_map<std::string, std::size_t> m_Index;
};

class RegistryDocument {
public:
    const std::vector<RegistryDocumentKey>& Keys() const { return m_Keys; }
    const RegistryDocumentKey* FindKey(std::string_view path) const;
    // A key exists when it has a section of its own or any key below it does, as a key
    // imported from a section brings its parents into being.
    bool KeyExists(std::string_view path) const;
    // The key's section, appended at the end when it has none yet.
    RegistryDocumentKey& EnsureKey(std::string_view path);

private:
    std::vector<RegistryDocumentKey> m_Keys;
    std::unordered_map<std::string, std::size_t> m_Index;
};

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
// True when path names key or a key below it.
bool IsSameOrBelowKey(std::string_view path, std::string_view key);
