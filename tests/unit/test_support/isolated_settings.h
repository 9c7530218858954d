#pragma once
// An empty per-user settings store for each test, whatever the OS keeps it in: a fresh
// XDG_CONFIG_HOME on Linux, the settings key removed before and after on Windows.
#include <gtest/gtest.h>

#include <memory>

// Holds the store private and empty while it lives (implemented per OS).
class SettingsStoreIsolation {
public:
    SettingsStoreIsolation();
    ~SettingsStoreIsolation();
    SettingsStoreIsolation(const SettingsStoreIsolation&) = delete;
    SettingsStoreIsolation& operator=(const SettingsStoreIsolation&) = delete;

    struct State;

private:
    std::unique_ptr<State> m_State;
};

class IsolatedSettings : public testing::Test {
protected:
    void SetUp() override { m_Isolation = std::make_unique<SettingsStoreIsolation>(); }
    void TearDown() override { m_Isolation.reset(); }

private:
    std::unique_ptr<SettingsStoreIsolation> m_Isolation;
};
