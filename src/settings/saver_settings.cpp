#include "settings/saver_settings.h"

#include <array>

namespace {

struct DefaultValue {
    const char* name;
    bool isText;
    std::int32_t number;
};

// The order in which the defaults pass checks the values.
constexpr std::array<DefaultValue, 11> kDefaults{{
    {"PhotoDirectorys", true, 0},
    {"ChangeInterval", false, 1500},
    {"ShowCurrentFileInfo", false, 1},
    {"ShowAllPhotoCount", false, 1},
    {"ShowDateTime", false, 1},
    {"DisableRandom", false, 0},
    {"FadeOutLastPhoto", false, 0},
    {"EnableCheckDisk", false, 1},
    {"ShowCheckInfo", false, 1},
    {"EnableMusic", false, 1},
    {"DisableMusicRandom", false, 0},
}};

bool ReadFlag(RegistryObject& registry, const char* name) { return registry.ReadInteger(name) != 0; }

void WriteFlag(RegistryObject& registry, const char* name, bool on) { registry.WriteInteger(name, on ? 1 : 0); }

} // namespace

void OpenSettingsKey(RegistryObject& registry)
{
    registry.SetRootKey(RegistryRoot::CurrentUser);
    registry.OpenKey(kSettingsKeyPath, true);
    for (const auto& value : kDefaults) {
        if (registry.ValueExists(value.name)) continue;
        if (value.isText) {
            registry.WriteString(value.name, "");
        } else {
            registry.WriteInteger(value.name, value.number);
        }
    }
}

SaverSettings ReadSaverSettings(RegistryObject& registry)
{
    OpenSettingsKey(registry);
    SaverSettings settings;
    settings.PhotoDirectorys = registry.ReadString("PhotoDirectorys");
    settings.ChangeInterval = registry.ReadInteger("ChangeInterval");
    settings.ShowCurrentFileInfo = ReadFlag(registry, "ShowCurrentFileInfo");
    settings.ShowDateTime = ReadFlag(registry, "ShowDateTime");
    settings.DisableRandom = ReadFlag(registry, "DisableRandom");
    settings.ShowAllPhotoCount = ReadFlag(registry, "ShowAllPhotoCount");
    settings.FadeOutLastPhoto = ReadFlag(registry, "FadeOutLastPhoto");
    settings.EnableMusic = ReadFlag(registry, "EnableMusic");
    settings.DisableMusicRandom = ReadFlag(registry, "DisableMusicRandom");
    return settings;
}

void WriteSaverSettings(RegistryObject& registry, const SaverSettings& settings)
{
    registry.SetRootKey(RegistryRoot::CurrentUser);
    registry.OpenKey(kSettingsKeyPath, true);
    registry.WriteString("PhotoDirectorys", settings.PhotoDirectorys);
    WriteFlag(registry, "ShowDateTime", settings.ShowDateTime);
    WriteFlag(registry, "ShowCurrentFileInfo", settings.ShowCurrentFileInfo);
    WriteFlag(registry, "ShowAllPhotoCount", settings.ShowAllPhotoCount);
    WriteFlag(registry, "DisableRandom", settings.DisableRandom);
    WriteFlag(registry, "FadeOutLastPhoto", settings.FadeOutLastPhoto);
    WriteFlag(registry, "EnableMusic", settings.EnableMusic);
    WriteFlag(registry, "DisableMusicRandom", settings.DisableMusicRandom);
    registry.WriteInteger("ChangeInterval", settings.ChangeInterval);
    registry.CloseKey();
}
