#include "platform/registry.h"

#include "platform/linux/registry_file_format.h"
#include "platform/linux/registry_store.h"

// A key only names its section in the store file; every call reads or edits the file afresh, so
// that programs running side by side see each other's writes.
struct RegistryKey::Impl {
    std::string section;
};

namespace {

constexpr std::string_view kCurrentUserSection = "HKEY_CURRENT_USER";

// The section name of a key, or nothing when the path cannot name a key: an empty name between
// "\"s, or a name that the store file cannot hold.
std::optional<std::string> SectionOf(RegistryRoot, const std::string& path)
{
    std::string section(kCurrentUserSection);
    if (path.empty()) return section;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name = std::string_view(path).substr(start, end - start);
        if (name.empty() || !IsStorableRegistryName(name)) return std::nullopt;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return section + "\\" + path;
}

bool IsRootSection(const std::string& section) { return section.size() == kCurrentUserSection.size(); }

bool KeyExists(const RegistryDocument& document, const std::string& section)
{
    return IsRootSection(section) || document.KeyExists(section);
}

} // namespace

std::optional<RegistryKey> RegistryKey::Open(RegistryRoot root, const std::string& path, bool create)
{
    auto section = SectionOf(root, path);
    if (!section) return std::nullopt;
    bool opened;
    if (create) {
        opened = EditRegistryStore([&](RegistryDocument& document) {
            if (KeyExists(document, *section)) return StoreEdit::Unchanged;
            document.EnsureKey(*section);
            return StoreEdit::Changed;
        });
    } else {
        const auto document = LoadRegistryStore();
        opened = document && KeyExists(*document, *section);
    }
    if (!opened) return std::nullopt;
    return RegistryKey(std::make_unique<Impl>(Impl{std::move(*section)}));
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : m_Impl(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryValue> RegistryKey::QueryValue(const std::string& name) const
{
    const auto document = LoadRegistryStore();
    if (!document) return std::nullopt;
    const auto* key = document->FindKey(m_Impl->section);
    const auto* value = key ? key->FindValue(name) : nullptr;
    if (!value) return std::nullopt;
    return value->value;
}

bool RegistryKey::SetValue(const std::string& name, const RegistryValue& value)
{
    if (!IsStorableRegistryName(name)) return false;
    return EditRegistryStore([&](RegistryDocument& document) {
        // A key deleted since it was opened takes no more values.
        if (!KeyExists(document, m_Impl->section)) return StoreEdit::Refused;
        auto& key = document.EnsureKey(m_Impl->section);
        if (const auto* existing = key.FindValue(name);
            existing && existing->value.type == value.type && existing->value.data == value.data) {
            return StoreEdit::Unchanged;
        }
        key.SetValue(name, value);
        return StoreEdit::Changed;
    });
}

bool RegistryKey::DeleteValue(const std::string& name)
{
    return EditRegistryStore([&](RegistryDocument& document) {
        auto* key = document.FindKey(m_Impl->section);
        return key && key->DeleteValue(name) ? StoreEdit::Changed : StoreEdit::Refused;
    });
}

bool DeleteRegistryKey(RegistryRoot root, const std::string& path)
{
    // The whole of HKEY_CURRENT_USER is never removed.
    const auto section = path.empty() ? std::nullopt : SectionOf(root, path);
    if (!section) return false;
    return EditRegistryStore([&](RegistryDocument& document) {
        return document.DeleteKeyTree(*section) ? StoreEdit::Changed : StoreEdit::Unchanged;
    });
}
