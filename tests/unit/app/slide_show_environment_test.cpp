// Mode "/s" asks for the screen's own pixels before the show's window opens and holds the fine
// timer resolution exactly while the show runs, whichever way it ends.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/mode_dispatch.h"
#include "platform/show_environment.h"

namespace {

class RecordingShowEnvironment final : public ShowEnvironment {
public:
    void UseScreenPixels() override { calls.push_back("screen pixels"); }
    void BeginFineTimerResolution() override { calls.push_back("begin fine timer"); }
    void EndFineTimerResolution() override { calls.push_back("end fine timer"); }

    std::vector<std::string> calls;
};

} // namespace

TEST(SlideShowEnvironment, AskedForBeforeTheShowAndGivenBackOnceAfterIt)
{
    struct Case {
        const char* how;
        bool throws;
    };
    for (const Case& c : {Case{"the show closes", false}, Case{"the show fails", true}}) {
        SCOPED_TRACE(c.how);
        RecordingShowEnvironment environment;
        const auto show = [&] {
            environment.calls.push_back("show");
            if (c.throws) throw std::runtime_error("no window");
        };
        if (c.throws) {
            EXPECT_THROW(RunSlideShow(environment, show), std::runtime_error);
        } else {
            RunSlideShow(environment, show);
        }
        EXPECT_EQ(environment.calls,
                  (std::vector<std::string>{"screen pixels", "begin fine timer", "show", "end fine timer"}));
    }
}
