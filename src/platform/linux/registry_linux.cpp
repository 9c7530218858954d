#include "platform/registry.h"

#include "platform/linux/registry_file_format.h"
#include "platform/linux/registry_store.h"

// A key holds its values as the store file had them when it was opened, refreshed by its own
// writes: reading them needs no further access to the file. Writes go to the file at once.
struct RegistryKey::Impl {
    std::string section;
    RegistryDocumentKey values;
};

namespace {

constexpr std::string_view kCurrentUserSection = "HKEY_CURRENT_USER";

// The section name of a key, or nothing when the path cannot name a key: an empty name between
// "\"s, or a name that the store file cannot hold.
std::optional<std::string> SectionOf(RegistryRoot, const std::string& path)
{
    std::string section(kCurrentUserSection);
    if (path.empty()) return section;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name = std::string_view(path).substr(start, end - start);
        if (name.empty() || !IsStorableRegistryName(name)) return std::nullopt;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return section + "\\" + path;
}

bool KeyExists(const RegistryDocument& document, const std::string& section)
{
    return section.size() == kCurrentUserSection.size() || document.KeyExists(section);
}

RegistryDocumentKey ValuesOf(const RegistryDocument& document, const std::string& section)
{
    const auto* key = document.FindKey(section);
    return key ? *key : RegistryDocumentKey(section);
}

} // namespace

std::optional<RegistryKey> RegistryKey::Open(RegistryRoot root, const std::string& path, bool create)
{
    auto section = SectionOf(root, path);
    if (!section) return std::nullopt;
    auto document = LoadRegistryStore();
    // Only a key that must be created makes this a write.
    if (document && !KeyExists(*document, *section) && create) {
        document = EditRegistryStore([&](RegistryDocument& current) {
            if (KeyExists(current, *section)) return StoreEdit::Unchanged;
            current.EnsureKey(*section);
            return StoreEdit::Changed;
        });
    }
    if (!document || !KeyExists(*document, *section)) return std::nullopt;
    RegistryDocumentKey values = ValuesOf(*document, *section);
    return RegistryKey(std::make_unique<Impl>(Impl{std::move(*section), std::move(values)}));
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : m_Impl(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryValue> RegistryKey::QueryValue(const std::string& name) const
{
    const auto* value = m_Impl->values.FindValue(name);
    if (!value) return std::nullopt;
    return *value;
}

bool RegistryKey::SetValue(const std::string& name, const RegistryValue& value)
{
    if (!IsStorableRegistryName(name)) return false;
    const auto document = EditRegistryStore([&](RegistryDocument& current) {
        // A key deleted since it was opened takes no more values.
        if (!KeyExists(current, m_Impl->section)) return StoreEdit::Refused;
        auto& key = current.EnsureKey(m_Impl->section);
        if (const auto* existing = key.FindValue(name);
            existing && existing->type == value.type && existing->data == value.data) {
            return StoreEdit::Unchanged;
        }
        key.SetValue(name, value);
        return StoreEdit::Changed;
    });
    if (!document) return false;
    m_Impl->values = ValuesOf(*document, m_Impl->section);
    return true;
}
