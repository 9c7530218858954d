#include "unit/test_support/registry_removal.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

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

void RequireDisposableStore()
{
    namespace fs = std::filesystem;
    const std::string file = RegistryStoreFilePath();
    const fs::path temporary = fs::weakly_canonical(fs::temp_directory_path());
    const fs::path store = fs::weakly_canonical(fs::path(file));
    const auto [end, inside] = std::mismatch(temporary.begin(), temporary.end(), store.begin(), store.end());
    if (!file.empty() && end == temporary.end() && inside != store.end()) return;
    throw std::runtime_error("refusing to touch the settings store " + file +
                             ": it is not below the temporary directory (set XDG_CONFIG_HOME to a test folder)");
}

bool DeleteRegistryValue(const std::string& path, const std::string& name)
{
    RequireDisposableStore();
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
    RequireDisposableStore();
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
