#pragma once
// What the saver asks of the system: the platform family, and on the Windows 9x family the
// saver password services. Elsewhere the NT family's behaviour holds: no password of the
// saver's own.
#include <cstdint>

#include "platform/message_box.h"

constexpr std::uint32_t kPlatformNt = 2;

// The part of the platform's version record that the saver reads.
struct PlatformVersion {
    std::uint32_t platformId = 0;
};

PlatformVersion GetPlatformVersion();

// Tells the system that a screen saver is running, or no longer (9x family only).
void SetScreenSaverRunning(bool running);

// Prompts for the saver password; true when it was entered correctly. A missing verifier counts
// as a failed verification.
bool VerifyScreenSaverPassword(NativeWindow owner);
