// The settings operations over the real registry (under Wine: the private prefix's own).
#include <gtest/gtest.h>

#include "unit/test_support/registry_values.h"

#include "settings/saver_settings.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/registry_removal.h"
#include "unit/test_support/settings_checks.h"

namespace {

constexpr const char* kKey = "Control Panel\\Screen Saver.Tovelin";

using Bytes = std::vector<std::uint8_t>;

RegistryValue Dword(std::uint32_t value)
{
    return RegistryValue{regtype::DWord,
                         {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

// The eleven values in the order the defaults pass checks them, with their defaults.
const std::vector<std::pair<std::string, RegistryValue>> kDefaults = {
    {"PhotoDirectorys", Text("")},   {"ChangeInterval", Dword(1500)}, {"ShowCurrentFileInfo", Dword(1)},
    {"ShowAllPhotoCount", Dword(1)}, {"ShowDateTime", Dword(1)},      {"DisableRandom", Dword(0)},
    {"FadeOutLastPhoto", Dword(0)},  {"EnableCheckDisk", Dword(1)},   {"ShowCheckInfo", Dword(1)},
    {"EnableMusic", Dword(1)},       {"DisableMusicRandom", Dword(0)},
};

std::string Describe(const std::optional<RegistryValue>& value)
{
    if (!value) return "(absent)";
    std::string text = "type " + std::to_string(value->type) + ":";
    for (auto byte : value->data) text += " " + std::to_string(byte);
    return text;
}

} // namespace

class SettingsRegistry : public IsolatedSettings {
protected:
    static SaverSettings Read()
    {
        RegistryObject registry;
        return ReadSaverSettings(registry);
    }
    static void Write(const SaverSettings& settings)
    {
        RegistryObject registry;
        WriteSaverSettings(registry, settings);
    }
    static RegistryKey Key()
    {
        auto key = RegistryKey::Open(RegistryRoot::CurrentUser, kKey, false);
        if (!key) throw std::runtime_error("the settings key is missing");
        return std::move(*key);
    }
    static std::string Stored(const std::string& name) { return Describe(Key().QueryValue(name)); }
    static void Store(const std::string& name, const RegistryValue& value) { ASSERT_TRUE(Key().SetValue(name, value)); }
};

TEST_F(SettingsRegistry, AFreshProfileGetsAllElevenValuesWithTheirTypes)
{
    ASSERT_FALSE(RegistryKey::Open(RegistryRoot::CurrentUser, kKey, false)) << "the test starts without the key";
    ExpectDefaultSettings(Read());
    for (const auto& [name, value] : kDefaults) EXPECT_EQ(Stored(name), Describe(value)) << name;

    // A second reader finds everything in place.
    ExpectDefaultSettings(Read());
    for (const auto& [name, value] : kDefaults) EXPECT_EQ(Stored(name), Describe(value)) << name;
}

TEST_F(SettingsRegistry, ValuesDeletedByHandComeBackWithTheirDefaults)
{
    Read();
    Store("DisableRandom", Dword(1));
    for (const char* name : {"ChangeInterval", "PhotoDirectorys", "EnableCheckDisk"}) {
        ASSERT_TRUE(DeleteRegistryValue(kKey, name)) << name;
    }
    const SaverSettings settings = Read();
    EXPECT_EQ(settings.ChangeInterval, 1500);
    EXPECT_EQ(settings.PhotoDirectorys, "");
    EXPECT_TRUE(settings.DisableRandom) << "values still present keep their content";
    EXPECT_EQ(Stored("ChangeInterval"), Describe(Dword(1500)));
    EXPECT_EQ(Stored("PhotoDirectorys"), Describe(Text("")));
    EXPECT_EQ(Stored("EnableCheckDisk"), Describe(Dword(1)));
}

TEST_F(SettingsRegistry, AFlagStoredAsFiveReadsAsOnAndIsSavedAsOne)
{
    Read();
    Store("FadeOutLastPhoto", Dword(5));
    Store("DisableMusicRandom", Dword(0xffffffff));
    SaverSettings settings = Read();
    EXPECT_TRUE(settings.FadeOutLastPhoto);
    EXPECT_TRUE(settings.DisableMusicRandom);
    EXPECT_EQ(Stored("FadeOutLastPhoto"), Describe(Dword(5))) << "reading repairs nothing";

    Write(settings);
    EXPECT_EQ(Stored("FadeOutLastPhoto"), Describe(Dword(1)));
    EXPECT_EQ(Stored("DisableMusicRandom"), Describe(Dword(1)));
}

TEST_F(SettingsRegistry, SavingWritesTheNineUsedValuesOnly)
{
    // On a fresh profile the save creates the key without the defaults pass.
    SaverSettings settings;
    settings.PhotoDirectorys = "C:\\Photos|D:\\More Photos\\";
    settings.ChangeInterval = 3000;
    settings.ShowDateTime = false;
    settings.EnableMusic = false;
    settings.DisableRandom = true;
    Write(settings);
    EXPECT_EQ(Stored("PhotoDirectorys"), Describe(Text("C:\\Photos|D:\\More Photos\\")));
    EXPECT_EQ(Stored("ChangeInterval"), Describe(Dword(3000)));
    EXPECT_EQ(Stored("ShowDateTime"), Describe(Dword(0)));
    EXPECT_EQ(Stored("EnableMusic"), Describe(Dword(0)));
    EXPECT_EQ(Stored("DisableRandom"), Describe(Dword(1)));
    EXPECT_EQ(Stored("ShowCurrentFileInfo"), Describe(Dword(1)));
    EXPECT_EQ(Stored("EnableCheckDisk"), "(absent)");
    EXPECT_EQ(Stored("ShowCheckInfo"), "(absent)");

    // Values the save does not own stay as they are, whatever they hold.
    Store("EnableCheckDisk", Dword(0));
    Store("ShowCheckInfo", Text("kept"));
    Write(SaverSettings{});
    EXPECT_EQ(Stored("EnableCheckDisk"), Describe(Dword(0)));
    EXPECT_EQ(Stored("ShowCheckInfo"), Describe(Text("kept")));
    ExpectDefaultSettings(Read());
}

TEST_F(SettingsRegistry, AValueOfTheWrongTypeFailsNamingItAndStaysAsItIs)
{
    struct Case {
        const char* name;
        RegistryValue value;
        const char* error;
    };
    const Case cases[] = {
        {"ShowDateTime", Text("yes"), "Invalid data type for 'ShowDateTime'"},
        {"ChangeInterval", RegistryValue{regtype::Binary, {0xdc, 0x05, 0, 0, 0, 0, 0, 0}},
         "Failed to get data for 'ChangeInterval'"},
        {"PhotoDirectorys", Dword(1), "Invalid data type for 'PhotoDirectorys'"},
        {"EnableMusic", RegistryValue{regtype::Binary, {1, 0, 0, 0}}, "Invalid data type for 'EnableMusic'"},
    };
    for (const Case& test : cases) {
        ASSERT_TRUE(DeleteRegistryKey(kKey));
        Read();
        Store(test.name, test.value);
        EXPECT_EQ(ErrorText([] { Read(); }), test.error);
        EXPECT_EQ(Stored(test.name), Describe(test.value)) << "the defaults pass leaves a present value alone";
    }
}
