// The settings fixture wipes the per-user settings key, so it runs only in a prefix that the test
// command has marked as the tests' own.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "platform/win32/windows_header.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/registry_removal.h"

namespace {

constexpr const char* kSettingsKey = "Control Panel\\Screen Saver.Tovelin";

// Replaces the prefix's marker while it lives (none, or another value), then puts it back.
class ChangedMarker {
public:
    explicit ChangedMarker(std::optional<DWORD> value)
    {
        if (value) {
            Set(*value);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kDisposableMarkerKey, kDisposableMarkerValue);
        }
    }
    ~ChangedMarker() { Set(1); }
    ChangedMarker(const ChangedMarker&) = delete;
    ChangedMarker& operator=(const ChangedMarker&) = delete;

private:
    static void Set(DWORD value)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDisposableMarkerKey, kDisposableMarkerValue, REG_DWORD, &value,
                        sizeof value);
    }
};

std::optional<DWORD> StoredInterval()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "ChangeInterval", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

using DisposableStore = IsolatedSettings;

TEST_F(DisposableStore, WithoutTheMarkTheFixtureAndTheRemovalsRefuseAndRemoveNothing)
{
    const DWORD kept = 4321;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "ChangeInterval", REG_DWORD, &kept, sizeof kept),
              ERROR_SUCCESS);
    for (const std::optional<DWORD> marker : {std::optional<DWORD>(), std::optional<DWORD>(0)}) {
        SCOPED_TRACE(marker ? "marker 0" : "no marker");
        {
            const ChangedMarker changed(marker);
            EXPECT_THROW(SettingsStoreIsolation{}, std::runtime_error);
            EXPECT_THROW(DeleteRegistryKey(kSettingsKey), std::runtime_error);
            EXPECT_THROW(DeleteRegistryValue(kSettingsKey, "ChangeInterval"), std::runtime_error);
        }
        EXPECT_EQ(StoredInterval(), kept);
    }
}

} // namespace
