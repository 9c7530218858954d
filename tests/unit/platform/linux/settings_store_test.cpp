// The settings operations over the real per-user store file.
#include <gtest/gtest.h>

#include "gfx/error.h"
#include "platform/linux/registry_file_format.h"
#include "settings/saver_settings.h"
#include "temporary_config_home.h"
#include "unit/test_support/settings_checks.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSection = "[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin]\n";

const std::string kDefaultValues = "\"PhotoDirectorys\"=\"\"\n"
                                   "\"ChangeInterval\"=dword:000005dc\n"
                                   "\"ShowCurrentFileInfo\"=dword:00000001\n"
                                   "\"ShowAllPhotoCount\"=dword:00000001\n"
                                   "\"ShowDateTime\"=dword:00000001\n"
                                   "\"DisableRandom\"=dword:00000000\n"
                                   "\"FadeOutLastPhoto\"=dword:00000000\n"
                                   "\"EnableCheckDisk\"=dword:00000001\n"
                                   "\"ShowCheckInfo\"=dword:00000001\n"
                                   "\"EnableMusic\"=dword:00000001\n"
                                   "\"DisableMusicRandom\"=dword:00000000\n";

std::string StoreText(const std::string& values) { return std::string("REGEDIT4\n\n") + kSection + values + "\n"; }

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

} // namespace

class SettingsStore : public TemporaryConfigHome {
protected:
    SaverSettings Read()
    {
        RegistryObject registry;
        return ReadSaverSettings(registry);
    }
    void Write(const SaverSettings& settings)
    {
        RegistryObject registry;
        WriteSaverSettings(registry, settings);
    }
};

TEST_F(SettingsStore, AFreshProfileGetsAllElevenDefaults)
{
    ExpectDefaultSettings(Read());
    EXPECT_EQ(ReadText(StoreFile()), StoreText(kDefaultValues));

    // A second reader finds everything in place and rewrites nothing.
    const auto written = fs::last_write_time(StoreFile());
    ExpectDefaultSettings(Read());
    EXPECT_EQ(fs::last_write_time(StoreFile()), written);
}

TEST_F(SettingsStore, AValueDeletedByHandComesBackWithItsDefault)
{
    Read();
    WriteText(StoreFile(), Replace(StoreText(kDefaultValues), "\"ChangeInterval\"=dword:000005dc\n", ""));
    EXPECT_EQ(Read().ChangeInterval, 1500);
    EXPECT_EQ(ReadText(StoreFile()),
              StoreText(Replace(kDefaultValues, "\"ChangeInterval\"=dword:000005dc\n", "") +
                        "\"ChangeInterval\"=dword:000005dc\n"));
}

TEST_F(SettingsStore, AFlagStoredAsFiveReadsAsOnAndIsSavedAsOne)
{
    WriteText(StoreFile(), StoreText(Replace(kDefaultValues, "\"FadeOutLastPhoto\"=dword:00000000",
                                             "\"FadeOutLastPhoto\"=dword:00000005")));
    SaverSettings settings = Read();
    EXPECT_TRUE(settings.FadeOutLastPhoto);
    settings.PhotoDirectorys = "/home/me/Photos|/home/me/M\xc3\xbasica";
    settings.ChangeInterval = 3000;
    Write(settings);
    EXPECT_EQ(ReadText(StoreFile()),
              StoreText(Replace(Replace(Replace(kDefaultValues, "\"PhotoDirectorys\"=\"\"",
                                                "\"PhotoDirectorys\"=\"/home/me/Photos|/home/me/M\xc3\xbasica\""),
                                        "\"ChangeInterval\"=dword:000005dc", "\"ChangeInterval\"=dword:00000bb8"),
                                "\"FadeOutLastPhoto\"=dword:00000000", "\"FadeOutLastPhoto\"=dword:00000001")));
}

TEST_F(SettingsStore, SavingKeepsValuesItDoesNotOwn)
{
    const std::string extra = "\"EnableCheckDisk\"=dword:00000000\n"
                              "\"Unknown\"=hex(7):61,00,00\n";
    WriteText(StoreFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Elsewhere]\n@=\"x\"\n\n" + std::string(kSection) + extra + "\n");
    Write(SaverSettings{});
    const std::string text = ReadText(StoreFile());
    EXPECT_TRUE(text.starts_with("REGEDIT4\n\n[HKEY_CURRENT_USER\\Elsewhere]\n@=\"x\"\n\n" + std::string(kSection) + extra))
        << text;
    EXPECT_EQ(text.find("ShowCheckInfo"), std::string::npos) << "a save writes only the nine used values";
}

TEST_F(SettingsStore, AFlagStoredAsTextFailsAndStaysAsItIs)
{
    const std::string stored =
        StoreText(Replace(kDefaultValues, "\"ShowDateTime\"=dword:00000001", "\"ShowDateTime\"=\"yes\""));
    WriteText(StoreFile(), stored);
    EXPECT_EQ(ErrorText([&] { Read(); }), "Invalid data type for 'ShowDateTime'");
    EXPECT_EQ(ReadText(StoreFile()), stored);
}

TEST_F(SettingsStore, AStoreThatCannotBeWrittenFailsOnTheFirstValue)
{
    WriteText(Root() / "plain-file", "x");
    UseConfigHome(Root() / "plain-file" / "config");
    EXPECT_EQ(ErrorText([&] { Read(); }), "Failed to set data for 'PhotoDirectorys'");
    EXPECT_EQ(ErrorText([&] { Write(SaverSettings{}); }), "Failed to set data for 'PhotoDirectorys'");
}

TEST_F(SettingsStore, ACorruptStoreIsKeptAsideAndTheDefaultsApply)
{
    const std::string corrupt = StoreText("\"ChangeInterval\"=dword:00000bb8\n\"DisableRandom\"=\"unterminated\n");
    WriteText(StoreFile(), corrupt);

    testing::internal::CaptureStderr();
    const SaverSettings settings = Read();
    const std::string trace = testing::internal::GetCapturedStderr();

    ExpectDefaultSettings(settings);
    EXPECT_EQ(ReadText(StoreFile()), StoreText(kDefaultValues));
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(StoreDirectory())) {
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-")) copies.push_back(entry.path());
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadText(copies[0]), corrupt);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1) << trace;
    EXPECT_NE(trace.find("unreadable (line 5: quoted text without a closing quote), kept as " +
                         copies[0].filename().string() + "; starting from defaults"),
              std::string::npos)
        << trace;
}
