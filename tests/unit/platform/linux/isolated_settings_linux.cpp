#include "unit/test_support/isolated_settings.h"

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

struct SettingsStoreIsolation::State {
    std::filesystem::path root;
    std::optional<std::string> oldConfigHome;
};

SettingsStoreIsolation::SettingsStoreIsolation() : m_State(std::make_unique<State>())
{
    std::string pattern = std::filesystem::temp_directory_path() / "tovelin-settings-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
    m_State->root = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_State->oldConfigHome = old;
    ::setenv("XDG_CONFIG_HOME", m_State->root.c_str(), 1);
}

SettingsStoreIsolation::~SettingsStoreIsolation()
{
    if (m_State->oldConfigHome) {
        ::setenv("XDG_CONFIG_HOME", m_State->oldConfigHome->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_State->root, ignored);
}
