// The switches that put the show into another program's window, and the run's end.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/foreign_window_show.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/trace_capture.h"

namespace {

struct SwitchCase {
    const char* name;
    std::vector<std::string> args;
    bool request;
    bool root;
    std::optional<std::uint64_t> windowId;
    bool error;
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

class SwitchTable : public testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTable, Parse)
{
    const SwitchCase& c = GetParam();
    const auto request = ParseForeignWindowSwitches(c.args);
    ASSERT_EQ(request.has_value(), c.request);
    if (!request) return;
    EXPECT_EQ(request->root, c.root);
    EXPECT_EQ(request->windowId, c.windowId);
    EXPECT_EQ(!request->error.empty(), c.error) << request->error;
}

INSTANTIATE_TEST_SUITE_P(, SwitchTable, testing::Values(
    SwitchCase{"Nothing", {}, false, false, {}, false},
    SwitchCase{"ModeSwitchesAreNotOurs", {"/s"}, false, false, {}, false},
    SwitchCase{"OtherDashSwitch", {"-s"}, false, false, {}, false},
    SwitchCase{"RootUpperCaseIsNotIt", {"--ROOT"}, false, false, {}, false},
    SwitchCase{"DoubleDashRoot", {"--root"}, true, true, {}, false},
    SwitchCase{"SingleDashRoot", {"-root"}, true, true, {}, false},
    SwitchCase{"RootAfterOthers", {"/c", "--root"}, true, true, {}, false},
    SwitchCase{"WindowIdHex", {"--window-id", "0x3a00007"}, true, false, 0x3a00007, false},
    SwitchCase{"WindowIdDecimal", {"-window-id", "60817415"}, true, false, 60817415, false},
    SwitchCase{"WindowIdInline", {"--window-id=0X1F"}, true, false, 0x1F, false},
    SwitchCase{"WindowIdMissing", {"--window-id"}, true, false, {}, true},
    SwitchCase{"WindowIdMalformed", {"--window-id", "0xZZ"}, true, false, {}, true},
    SwitchCase{"LaterSwitchWins", {"--window-id", "12", "--root"}, true, true, {}, false},
    SwitchCase{"IdAfterRootWins", {"-root", "-window-id", "12"}, true, false, 12, false}),
    [](const testing::TestParamInfo<SwitchCase>& info) { return std::string(info.param.name); });

struct IdCase {
    const char* text;
    std::optional<std::uint64_t> id;
};

TEST(ForeignWindowShow, WindowIds)
{
    const IdCase cases[] = {
        {"0x1", 1}, {"0xabcDEF", 0xabcdef}, {"255", 255}, {"0x", {}}, {"", {}}, {"0", {}}, {"0x0", {}},
        {"-5", {}}, {"+5", {}}, {"0x-5", {}}, {"12ab", {}}, {" 12", {}}, {"99999999999999999999999", {}},
    };
    for (const IdCase& c : cases) EXPECT_EQ(ParseWindowId(c.text), c.id) << "'" << c.text << "'";
}

TEST(ForeignWindowShow, ChosenWindow)
{
    const ForeignWindowRequest root{true, std::nullopt, {}};
    const ForeignWindowRequest named{false, 0x42, {}};
    EXPECT_EQ(ChooseForeignWindow(root, "0x2c00003"), std::optional<std::uint64_t>(0x2c00003));
    EXPECT_EQ(ChooseForeignWindow(root, "46137347"), std::optional<std::uint64_t>(46137347));
    EXPECT_EQ(ChooseForeignWindow(root, nullptr), std::nullopt) << "no daemon: the root window";
    EXPECT_EQ(ChooseForeignWindow(root, "garbage"), std::nullopt);
    EXPECT_EQ(ChooseForeignWindow(named, "0x2c00003"), std::optional<std::uint64_t>(0x42));
}

class ForeignWindowRun : public IsolatedSettings {};

TEST_F(ForeignWindowRun, ATerminationEndsTheShowThroughItsClose)
{
    TraceCapture quiet;
    ScriptedUiHost host({320, 240});
    host.QueueAtTime(2500, ScriptedUiHost::CloseRequest{});
    EXPECT_EQ(RunShowInHost(host), 0);
    EXPECT_TRUE(host.WindowDestroyed());
    EXPECT_EQ(host.Now(), 2500) << "the run ended with the close, not by running out of events";
}

TEST_F(ForeignWindowRun, AnErrorIsOneLineAndStatusZero)
{
    // The show fails before it traces anything.
    ScriptedUiHost host({320, 240});
    host.FailNextTimerStart(1);
    testing::internal::CaptureStderr();
    const int status = RunShowInHost(host);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 0);
    EXPECT_NE(error.find("Cannot start a timer"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

} // namespace
