#include "unit/test_support/registry_removal.h"

#include "platform/linux/registry_store.h"

namespace {

// The document less the keys and values that drop picks out.
template <typename Drop>
RegistryDocument Without(const RegistryDocument& document, Drop drop)
{
    RegistryDocument kept;
    for (const auto& key : document.Keys()) {
        if (drop(key, nullptr)) continue;
        auto& copy = kept.EnsureKey(key.Path());
        for (const auto& value : key.Values()) {
            if (!drop(key, &value)) copy.SetValue(value.name, value.value);
        }
    }
    return kept;
}

} // namespace

bool DeleteRegistryValue(const std::string& path, const std::string& name)
{
    const std::string section = "HKEY_CURRENT_USER\\" + path;
    return EditRegistryStore([&](RegistryDocument& document) {
               const auto* key = document.FindKey(section);
               if (!key || !key->FindValue(name)) return StoreEdit::Refused;
               document = Without(document, [&](const RegistryDocumentKey& each, const RegistryNamedValue* value) {
                   return &each == key && value && EqualsIgnoreAsciiCase(value->name, name);
               });
               return StoreEdit::Changed;
           })
        .has_value();
}

bool DeleteRegistryKey(const std::string& path)
{
    if (path.empty()) return false;
    const std::string section = "HKEY_CURRENT_USER\\" + path;
    // An absent key needs no write, and so creates no store.
    const auto current = LoadRegistryStore();
    if (!current) return false;
    if (!current->KeyExists(section)) return true;
    return EditRegistryStore([&](RegistryDocument& document) {
               document = Without(document, [&](const RegistryDocumentKey& key, const RegistryNamedValue*) {
                   return IsSameOrBelowKey(key.Path(), section);
               });
               return StoreEdit::Changed;
           })
        .has_value();
}
