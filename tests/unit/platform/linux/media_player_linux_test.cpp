// The GStreamer music player through the Linux UI host, without a display: short tracks made
// here play to their end with the notification on the UI thread, a file that is no music fails
// with a readable text and leaves the player usable, and a close cuts a track short.
#include <gtest/gtest.h>
#include <gst/gst.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gfx/error.h"
#include "platform/linux/ui_host_linux.h"
#include "recording_ui_events.h"
#include "unit/test_support/quiet_ui_events.h"

#if defined(__SANITIZE_THREAD__)
// GStreamer's streaming threads hand buffers and messages over through GLib code built without
// frame pointers, which the thread sanitizer can neither see nor be told about precisely.
TEST(MediaPlayerGst, IsNotRunUnderTheThreadSanitizer)
{
    GTEST_SKIP() << "GStreamer's threads synchronise through code the thread sanitizer cannot see";
}
#else
namespace {

namespace fs = std::filesystem;

// Records each notification with the player's mode when it arrived and the thread it came on.
class MediaEvents final : public QuietUiEvents {
public:
    void MediaNotify(unsigned flags) override
    {
        media.push_back(flags);
        modes.push_back(player ? player->Mode() : -1);
        onUiThread = onUiThread && std::this_thread::get_id() == m_Creator;
    }

    MediaPlayer* player = nullptr;
    std::vector<unsigned> media;
    std::vector<int> modes;
    bool onUiThread = true;

private:
    std::thread::id m_Creator = std::this_thread::get_id();
};

bool HasElements(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory) return false;
        gst_object_unref(factory);
    }
    return true;
}

// Runs an encoding pipeline to its end; true when it got there without an error.
bool RunPipeline(const std::string& description)
{
    GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
    if (!pipeline) return false;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end) gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

// Half a second of two notes: one track, 96 ticks a quarter at the default 120 beats a minute.
void WriteMidi(const fs::path& path)
{
    static const unsigned char bytes[] = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,                 //
        'M', 'T', 'r', 'k', 0, 0, 0, 20,                                   //
        0x00, 0x90, 60, 100, 0x30, 0x80, 60, 64,                           // C for an eighth
        0x00, 0x90, 64, 100, 0x30, 0x80, 64, 64, 0x00, 0xFF, 0x2F, 0x00}; // E, end of track
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class MediaPlayerGstTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gst_init(nullptr, nullptr);
        // Silent and in real time, unless the run chose a sink (empty: the player's own choice).
        ::setenv("TOVELIN_AUDIO_SINK", "fakesink sync=true", 0);
        std::string pattern = fs::temp_directory_path() / "tovelin-music-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        s_Dir = pattern;
        // About half a second of tone at 44.1 kHz, 1024 samples a buffer.
        const std::string tone = "audiotestsrc num-buffers=22 ! audioconvert ! ";
        if (HasElements({"lamemp3enc"}))
            RunPipeline(tone + "lamemp3enc ! filesink location=" + (s_Dir / "tone.mp3").string());
        if (HasElements({"avenc_wmav2", "asfmux"}))
            RunPipeline(tone + "avenc_wmav2 ! asfmux ! filesink location=" + (s_Dir / "tone.wma").string());
        WriteMidi(s_Dir / "notes.mid");
        std::ofstream(s_Dir / "words.mp3") << "These are words, not music.\n";
    }

    static void TearDownTestSuite()
    {
        std::error_code ignored;
        fs::remove_all(s_Dir, ignored);
    }

    MediaPlayerGstTest()
    {
        dynamic_cast<GtkUiHost&>(*host).ConnectEvents(events);
        player = host->CreateMediaPlayer();
        events.player = player.get();
    }

    // The path of a track made for the suite, or empty when this machine could not make it.
    static std::string Track(const std::string& name)
    {
        const fs::path path = s_Dir / name;
        return fs::exists(path) && fs::file_size(path) > 0 ? path.string() : std::string();
    }

    bool PumpUntilNotified(std::size_t count)
    {
        return PumpUntil(*host, [&] { return events.media.size() >= count; });
    }

    static fs::path s_Dir;
    std::unique_ptr<UiHost> host = CreateUiHost();
    MediaEvents events;
    std::unique_ptr<MediaPlayer> player;
};

fs::path MediaPlayerGstTest::s_Dir;

struct TrackCase {
    const char* file;
    std::vector<const char*> elements; // what playing it needs
};

class TrackPlays : public MediaPlayerGstTest, public testing::WithParamInterface<TrackCase> {};

TEST_P(TrackPlays, ToItsEndWithTheNotificationOnTheUiThread)
{
    const TrackCase& track = GetParam();
    for (const char* element : track.elements) {
        if (!HasElements({element})) GTEST_SKIP() << element << " is not installed";
    }
    const std::string path = Track(track.file);
    if (path.empty()) GTEST_SKIP() << "this machine cannot make " << track.file;
    ASSERT_NE(player, nullptr);

    player->Open(path, true, false);
    EXPECT_EQ(player->ErrorMessage(), "");
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    player->Play();
    EXPECT_EQ(player->Mode(), playermode::Playing);
    ASSERT_TRUE(PumpUntilNotified(1)) << "no notification at the end of " << track.file;
    EXPECT_EQ(events.media, std::vector<unsigned>{mcinotify::Successful}) << player->ErrorMessage();
    EXPECT_EQ(events.modes, std::vector<int>{playermode::Stopped});
    EXPECT_TRUE(events.onUiThread);
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    EXPECT_EQ(player->ErrorMessage(), "");
}

INSTANTIATE_TEST_SUITE_P(Formats, TrackPlays,
                         testing::Values(TrackCase{"tone.mp3", {"mpegaudioparse"}},
                                         TrackCase{"tone.wma", {"asfdemux", "avdec_wmav2"}},
                                         TrackCase{"notes.mid", {"midiparse", "fluiddec"}}),
                         [](const testing::TestParamInfo<TrackCase>& info) {
                             return fs::path(info.param.file).extension().string().substr(1);
                         });

TEST_F(MediaPlayerGstTest, AnOpenWithoutWaitNotifiesAndThePlayThatFollowsFindsItPlaying)
{
    const std::string path = Track("tone.mp3");
    if (path.empty()) GTEST_SKIP() << "this machine cannot make an mp3";

    // Left alone, the open notifies once it is complete.
    player->Open(path, false, true);
    ASSERT_TRUE(PumpUntilNotified(1));
    EXPECT_EQ(events.media, std::vector<unsigned>{mcinotify::Successful});
    EXPECT_EQ(player->Mode(), playermode::Stopped);

    // As the window's first track: the play right after the open supersedes its notification,
    // which arrives after the play and finds the track playing; then the end.
    events.media.clear();
    events.modes.clear();
    player->Open(path, false, true);
    player->Play();
    EXPECT_TRUE(events.media.empty()) << "nothing arrives in the middle of a command";
    ASSERT_TRUE(PumpUntilNotified(2));
    EXPECT_EQ(events.media, (std::vector<unsigned>{mcinotify::Superseded, mcinotify::Successful}));
    EXPECT_EQ(events.modes, (std::vector<int>{playermode::Playing, playermode::Stopped}));
    EXPECT_TRUE(events.onUiThread);
}

struct BadFileCase {
    const char* name;
    bool wait;
};

class BadFile : public MediaPlayerGstTest, public testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFile, FailsWithAReadableTextAndTheNextTrackStillPlays)
{
    const std::string good = Track("tone.mp3");
    if (good.empty()) GTEST_SKIP() << "this machine cannot make an mp3";
    const std::string bad = (s_Dir / GetParam().name).string();

    if (GetParam().wait) {
        try {
            player->Open(bad, true, false);
            FAIL() << "opened " << bad;
        } catch (const Error& error) {
            EXPECT_GT(std::string(error.what()).size(), 10u);
            EXPECT_EQ(player->ErrorMessage(), error.what());
        }
    } else {
        // Found out later, the failure is what the open's notification says.
        try {
            player->Open(bad, false, true);
            ASSERT_TRUE(PumpUntilNotified(1));
            EXPECT_EQ(events.media, std::vector<unsigned>{mcinotify::Failure});
        } catch (const Error& error) {
            EXPECT_GT(std::string(error.what()).size(), 10u);
        }
        EXPECT_GT(player->ErrorMessage().size(), 10u);
    }
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    EXPECT_THROW(player->Play(), Error);
    EXPECT_GT(player->ErrorMessage().size(), 10u);

    events.media.clear();
    player->Open(good, true, false);
    EXPECT_EQ(player->ErrorMessage(), "");
    player->Play();
    ASSERT_TRUE(PumpUntilNotified(1));
    EXPECT_EQ(events.media, std::vector<unsigned>{mcinotify::Successful});
}

INSTANTIATE_TEST_SUITE_P(Files, BadFile,
                         testing::Values(BadFileCase{"words.mp3", true}, BadFileCase{"words.mp3", false},
                                         BadFileCase{"absent.mp3", true}),
                         [](const testing::TestParamInfo<BadFileCase>& info) {
                             return std::string(info.param.name[0] == 'w' ? "Words" : "Absent") +
                                    (info.param.wait ? "Waiting" : "NotWaiting");
                         });

TEST_F(MediaPlayerGstTest, ACloseCutsTheTrackShortAndNothingFollowsIt)
{
    const std::string path = Track("tone.mp3");
    if (path.empty()) GTEST_SKIP() << "this machine cannot make an mp3";

    EXPECT_EQ(player->Mode(), playermode::Stopped);
    EXPECT_THROW(player->Play(), Error);
    player->Open(path, true, false);
    player->Play();
    player->Close(true);
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    EXPECT_EQ(player->ErrorMessage(), "");
    // The cut play's notification says so; no end follows (the track would have ended by now).
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < until) host->WaitAndDispatch(10);
    EXPECT_EQ(events.media, std::vector<unsigned>{mcinotify::Aborted});

    // Destroyed while playing: the device closes, and nothing reaches the window.
    events.media.clear();
    player->Open(path, true, false);
    player->Play();
    events.player = nullptr;
    player.reset();
    host->WaitAndDispatch(50);
    EXPECT_TRUE(events.media.empty());
}

} // namespace
#endif
