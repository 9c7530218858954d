#include "unit/test_support/isolated_settings.h"

#include <stdexcept>

#include "unit/test_support/registry_removal.h"

// Only a marked test prefix has a settings key that is the tests' to remove.
struct SettingsStoreIsolation::State {};

namespace {
constexpr const char* kSettingsKey = "Control Panel\\Screen Saver.Tovelin";
}

SettingsStoreIsolation::SettingsStoreIsolation()
{
    RequireDisposableStore();
    if (!DeleteRegistryKey(kSettingsKey)) throw std::runtime_error("cannot remove the settings key");
}

SettingsStoreIsolation::~SettingsStoreIsolation()
{
    try {
        DeleteRegistryKey(kSettingsKey);
    } catch (const std::runtime_error&) {
        // The marker went while the test ran: the store is no longer the tests' to clean.
    }
}
