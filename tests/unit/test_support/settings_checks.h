#pragma once
// Checks shared by the tests of the settings store.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gfx/error.h"
#include "settings/saver_settings.h"

// The message of the Error that the operation raises, or "(no error)".
inline std::string ErrorText(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

// The record as a fresh profile's defaults give it.
inline void ExpectDefaultSettings(const SaverSettings& settings)
{
    EXPECT_EQ(settings.PhotoDirectorys, "");
    EXPECT_EQ(settings.ChangeInterval, 1500);
    EXPECT_TRUE(settings.ShowCurrentFileInfo);
    EXPECT_TRUE(settings.ShowDateTime);
    EXPECT_FALSE(settings.DisableRandom);
    EXPECT_TRUE(settings.ShowAllPhotoCount);
    EXPECT_FALSE(settings.FadeOutLastPhoto);
    EXPECT_TRUE(settings.EnableMusic);
    EXPECT_FALSE(settings.DisableMusicRandom);
}
