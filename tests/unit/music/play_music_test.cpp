// Background music on the scripted host and its scripted player: which track each slide tick
// starts, the track history, failures, and the player's options.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/random_generator.h"
#include "slideshow/slideshow_window.h"
#include "unit/test_support/scripted_ui_host.h"

namespace {

struct Music {
    Music() : window(host)
    {
        window.m_OsVersion.platformId = kPlatformNt;
        window.m_DisableMusicRandom = true;
        window.SetUpMediaPlayer();
        host.OpenFullScreenWindow(window, false);
    }
    // Runs a script of words: "tick" (a slide tick), "end" (the track ends and notifies),
    // "back"/"next" (Ctrl with an arrow), "add:x" (the scanner finds x.mp3); returns the tracks
    // started, one letter each.
    std::string Run(const std::string& script)
    {
        std::istringstream words(script);
        for (std::string word; words >> word;) {
            if (word == "tick") {
                window.Timer1Timer();
                host.WaitAndDispatch(0); // notifications queued by the player arrive
            } else if (word == "end") {
                host.EndTrack();
            } else if (word == "back" || word == "next") {
                window.FormKeyDown(word == "back" ? vk::Left : vk::Right, ShiftState{false, true, false});
            } else if (word.rfind("add:", 0) == 0) {
                window.m_MusicList->push_back(word.substr(4) + ".mp3");
            }
        }
        std::string played;
        for (const std::string& path : host.Player().Played()) played += path.substr(0, path.size() - 4);
        return played;
    }

    ScriptedUiHost host;
    TfrmMain window;
};

struct MusicCase {
    const char* name;
    std::string script;
    std::string played;
};

void PrintTo(const MusicCase& c, std::ostream* os) { *os << c.name; }

class MusicTicks : public testing::TestWithParam<MusicCase> {};

TEST_P(MusicTicks, StartTheExpectedTracks)
{
    Music music;
    EXPECT_EQ(music.Run(GetParam().script), GetParam().played);
}

INSTANTIATE_TEST_SUITE_P(, MusicTicks, testing::Values(
    MusicCase{"NothingWhileTheListIsEmpty", "tick tick", ""},
    MusicCase{"ListOrderFromTheSecondFile", "add:a add:b add:c tick end tick end tick end tick", "bcab"},
    MusicCase{"ATrackPlaysUntilItEnds", "add:a add:b tick tick tick end tick", "ba"},
    MusicCase{"WrapsAtTheCountKnownAtThatTick", "add:a add:b tick end tick add:c end tick end tick", "babc"},
    MusicCase{"ARequestWhileEmptyIsServedOnceAFileIsFound", "next tick add:a add:b tick", "b"},
    MusicCase{"BackBeforeTheRingHoldsAnythingIsTheListNeighbour", "add:a add:b add:c tick back tick", "ba"},
    MusicCase{"BackThroughTheRing", "add:a add:b add:c add:d tick end tick end tick back tick back tick", "bcdcb"},
    MusicCase{"ForwardPastTheNewestIsTheListNeighbour", "add:a add:b add:c add:d tick end tick next tick", "bcd"},
    MusicCase{"BackTwiceThenForwardReplaysTheRecordedTrack",
              "add:a add:b add:c add:d tick end tick end tick back tick back tick next tick", "bcdcbc"},
    MusicCase{"ABadFileIsSkippedAtTheNextTick", "add:a add:bad add:c tick tick end tick", "ca"},
    // The request closed the playing track, and no notification follows that close.
    MusicCase{"ABadRequestedFileIsSkippedAtTheNextTick", "add:a add:b add:bad add:d tick next tick tick", "bd"}),
    [](const testing::TestParamInfo<MusicCase>& info) { return std::string(info.param.name); });

TEST(Music, OnceTheRingHasFilledForwardReplaysTheOldest)
{
    Music music;
    std::string script;
    for (int i = 0; i < 150; ++i) script += "add:t" + std::to_string(i) + " ";
    for (int i = 0; i < 120; ++i) script += "tick end ";
    music.Run(script + "next tick");
    const std::vector<std::string> played = music.host.Player().Played();
    ASSERT_EQ(played.size(), 121u);
    EXPECT_EQ(played.back(), "t21.mp3") << "the track recorded 99 new choices before the newest";
}

TEST(Music, RandomOrderDrawsFromTheSharedGenerator)
{
    Music music;
    music.window.m_DisableMusicRandom = false;
    *music.window.m_MusicList = {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "f.mp3", "g.mp3"};
    SetRandomSeed(99);
    const int expected = RandomDraw() % 7;
    SetRandomSeed(99);
    music.window.PlayMusic();
    EXPECT_EQ(music.window.m_CurrentMusicFile, (*music.window.m_MusicList)[static_cast<std::size_t>(expected)]);
}

TEST(Music, RequestsWithMusicOffAreKeptButNeverServed)
{
    Music music;
    music.window.m_EnableMusic = false;
    EXPECT_EQ(music.Run("add:a add:b next tick tick"), "");
    EXPECT_EQ(music.window.m_MusicNavRequest, 1);
}

// The first open neither waits nor goes without a notification, whose arrival changes nothing;
// later closes and opens wait and ask for none.
TEST(Music, PlayerOptionsAndTheFirstNotification)
{
    Music music;
    music.Run("add:a add:b tick");
    EXPECT_TRUE(music.window.m_MusicPlaying) << "the open's own notification finds the track playing";
    music.Run("add:bad2 next tick");
    const auto& commands = music.host.Player().commands;
    std::vector<std::string> seen;
    for (const auto& c : commands) seen.push_back(c.what + (c.wait ? " wait" : "") + (c.notify ? " notify" : ""));
    EXPECT_EQ(seen, (std::vector<std::string>{"open notify", "play notify", "close wait", "open wait"}));
    EXPECT_FALSE(music.window.m_MusicPlaying) << "a failed requested track leaves nothing playing";
    EXPECT_EQ(music.window.m_CurrentMusicFile, "bad2.mp3") << "the band names the track chosen, even a failed one";
}

// FormClose releases the lists and their lock; a call that still comes must find nothing to do.
TEST(Music, AfterTheCloseNothingIsPlayed)
{
    Music music;
    music.Run("add:a add:b tick next");
    const std::size_t commands = music.host.Player().commands.size();
    music.window.FormClose();
    music.window.PlayMusic();
    EXPECT_EQ(music.host.Player().commands.size(), commands);
}

} // namespace
