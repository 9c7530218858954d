#include "platform/linux/registry_document.h"

#include <algorithm>

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

template <typename Values>
auto FindNamed(Values& values, std::string_view name) -> decltype(&values.front())
{
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const auto& entry) { return EqualsIgnoreAsciiCase(entry.name, name); });
    return found == values.end() ? nullptr : &*found;
}

template <typename Keys>
auto FindPath(Keys& keys, std::string_view path) -> decltype(&keys.front())
{
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const auto& key) { return EqualsIgnoreAsciiCase(key.path, path); });
    return found == keys.end() ? nullptr : &*found;
}

} // namespace

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsSameOrBelowKey(std::string_view path, std::string_view key)
{
    if (path.size() < key.size() || !EqualsIgnoreAsciiCase(path.substr(0, key.size()), key)) return false;
    return path.size() == key.size() || path[key.size()] == '\\';
}

const RegistryNamedValue* RegistryDocumentKey::FindValue(std::string_view name) const { return FindNamed(values, name); }
RegistryNamedValue* RegistryDocumentKey::FindValue(std::string_view name) { return FindNamed(values, name); }

void RegistryDocumentKey::SetValue(std::string_view name, RegistryValue value)
{
    if (auto* existing = FindValue(name)) {
        existing->value = std::move(value);
    } else {
        values.push_back({std::string(name), std::move(value)});
    }
}

bool RegistryDocumentKey::DeleteValue(std::string_view name)
{
    const auto* existing = FindValue(name);
    if (!existing) return false;
    values.erase(values.begin() + (existing - values.data()));
    return true;
}

const RegistryDocumentKey* RegistryDocument::FindKey(std::string_view path) const { return FindPath(keys, path); }
RegistryDocumentKey* RegistryDocument::FindKey(std::string_view path) { return FindPath(keys, path); }

bool RegistryDocument::KeyExists(std::string_view path) const
{
    return std::any_of(keys.begin(), keys.end(), [&](const auto& key) { return IsSameOrBelowKey(key.path, path); });
}

RegistryDocumentKey& RegistryDocument::EnsureKey(std::string_view path)
{
    if (auto* existing = FindKey(path)) return *existing;
    keys.push_back({std::string(path), {}});
    return keys.back();
}

bool RegistryDocument::DeleteKeyTree(std::string_view path)
{
    return std::erase_if(keys, [&](const auto& key) { return IsSameOrBelowKey(key.path, path); }) > 0;
}
