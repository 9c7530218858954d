#pragma once
// The stored settings: key, value names, types and defaults, and the record that carries them.
#include <cstdint>
#include <string>

#include "settings/registry_object.h"

inline constexpr const char* kSettingsKeyPath = "\\Control Panel\\Screen Saver.Tovelin";
inline constexpr const char* kDesktopKeyPath = "\\Control Panel\\Desktop";

struct SaverSettings {
    std::string PhotoDirectorys;
    std::int32_t ChangeInterval = 1500;
    bool ShowCurrentFileInfo = true;
    bool ShowDateTime = true;
    bool DisableRandom = false;
    bool ShowAllPhotoCount = true;
    bool FadeOutLastPhoto = false;
    bool EnableMusic = true;
    bool DisableMusicRandom = false;
    friend bool operator==(const SaverSettings&, const SaverSettings&) = default;
};

// Opens (creating) the settings key on HKEY_CURRENT_USER and writes the default of every absent
// value. The key stays open as the object's current key.
void OpenSettingsKey(RegistryObject& registry);
SaverSettings ReadSaverSettings(RegistryObject& registry);
void WriteSaverSettings(RegistryObject& registry, const SaverSettings& settings);
