#include "platform/show_environment.h"

namespace {

// X11 windows are in the screen's pixels already, and the GLib waits are not rounded to a
// scheduler tick.
class LinuxShowEnvironment final : public ShowEnvironment {
public:
    void UseScreenPixels() override {}
    void BeginFineTimerResolution() override {}
    void EndFineTimerResolution() override {}
};

} // namespace

std::unique_ptr<ShowEnvironment> CreateSystemShowEnvironment()
{
    return std::make_unique<LinuxShowEnvironment>();
}
