#include "platform/saver_system.h"

// The desktop locks the screen itself: the saver behaves as on the NT family.
PlatformVersion GetPlatformVersion()
{
    return PlatformVersion{kPlatformNt};
}

void SetScreenSaverRunning(bool) {}

bool VerifyScreenSaverPassword(NativeWindow)
{
    return false;
}
