#include "unit/test_support/isolated_settings.h"

#include <stdexcept>

#include "unit/test_support/registry_removal.h"

// Tests run in a private Wine prefix (or a test account): its settings key is theirs to remove.
struct SettingsStoreIsolation::State {};

namespace {
constexpr const char* kSettingsKey = "Control Panel\\Screen Saver.Tovelin";
}

SettingsStoreIsolation::SettingsStoreIsolation()
{
    if (!DeleteRegistryKey(kSettingsKey)) throw std::runtime_error("cannot remove the settings key");
}

SettingsStoreIsolation::~SettingsStoreIsolation() { DeleteRegistryKey(kSettingsKey); }
