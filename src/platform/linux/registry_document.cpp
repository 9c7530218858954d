#include "platform/linux/registry_document.h"

#include <algorithm>

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), AsciiLower);
    return folded;
}

// The entry of that name, appended (through make) when there is none yet.
template <typename Entries, typename Make>
auto& Ensure(Entries& entries, std::unordered_map<std::string, std::size_t>& index, std::string_view name, Make make)
{
    const auto [place, added] = index.try_emplace(Folded(name), entries.size());
    if (added) entries.push_back(make());
    return entries[place->second];
}

template <typename Entries>
auto Find(const Entries& entries, const std::unordered_map<std::string, std::size_t>& index, std::string_view name)
    -> decltype(&entries.front())
{
    const auto found = index.find(Folded(name));
    return found == index.end() ? nullptr : &entries[found->second];
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

const RegistryValue* RegistryDocumentKey::FindValue(std::string_view name) const
{
    const auto* entry = Find(m_Values, m_Index, name);
    return entry ? &entry->value : nullptr;
}

void RegistryDocumentKey::SetValue(std::string_view name, RegistryValue value)
{
    Ensure(m_Values, m_Index, name, [&] { return RegistryNamedValue{std::string(name), {}}; }).value = std::move(value);
}

const RegistryDocumentKey* RegistryDocument::FindKey(std::string_view path) const { return Find(m_Keys, m_Index, path); }

bool RegistryDocument::KeyExists(std::string_view path) const
{
    return std::any_of(m_Keys.begin(), m_Keys.end(), [&](const auto& key) { return IsSameOrBelowKey(key.Path(), path); });
}

RegistryDocumentKey& RegistryDocument::EnsureKey(std::string_view path)
{
    return Ensure(m_Keys, m_Index, path, [&] { return RegistryDocumentKey(std::string(path)); });
}
