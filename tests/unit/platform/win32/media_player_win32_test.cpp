// The MCI player under Wine, with a null sound device (scripts/wine-prefix.sh): mp3 files open,
// play in real time and notify at their end; MIDI opens but, with no synthesizer, never ends, so
// no case waits for it. The player cases post to a message-only window of their own; the host's
// delivery to the form needs the form's window, which Wine opens only on a display.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gfx/error.h"
#include "platform/ui_host.h"
#include "platform/win32/media_player_win32.h"
#include "platform/win32/native_window.h"
#include "platform/win32/windows_header.h"
#include "unit/test_support/quiet_ui_events.h"

#include <mmsystem.h>

namespace {

using Clock = std::chrono::steady_clock;

// The tone lasts half a second; a loaded machine may take much longer to get through it.
constexpr auto kNotifyBound = std::chrono::seconds(15);

std::string MusicFile(const char* name)
{
    std::string path = std::string(TOVELIN_TEST_DATA_DIR) + "/music/" + name;
    // As the program's own directory listings give them.
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

struct Notification {
    WPARAM flags;
    LPARAM device;
};

// A message-only window that records the MCI notifications posted to it.
class NotifyWindow {
public:
    NotifyWindow() : m_Class(Description())
    {
        m_Window = OwnedWindow(CreateWindowExA(0, m_Class.Name(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                               GetModuleHandleA(nullptr), nullptr));
        SetWindowLongPtrA(m_Window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    }
    HWND Get() const { return m_Window.Get(); }

    // Dispatches until count notifications have come or the bound has passed.
    bool WaitFor(size_t count, Clock::duration bound = kNotifyBound)
    {
        const auto start = Clock::now();
        while (received.size() < count && Clock::now() - start < bound) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Dispatch();
        }
        return received.size() >= count;
    }
    void Dispatch()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    std::vector<Notification> received;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == MM_MCINOTIFY) {
            auto* list = reinterpret_cast<std::vector<Notification>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (list) list->push_back({wParam, lParam});
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static WNDCLASSEXA Description()
    {
        WNDCLASSEXA description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = Procedure;
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "TovelinMciTestWindow";
        return description;
    }

    WindowClass m_Class;
    OwnedWindow m_Window;
};

// How many MCI devices this process has open.
int OpenDevices()
{
    char answer[64] = "";
    if (mciSendStringA("sysinfo all quantity open", answer, sizeof(answer), nullptr) != 0) return -1;
    return std::stoi(answer);
}

TEST(MediaPlayerMci, AnMp3PlaysToItsEndAndNotifiesSuccess)
{
    NotifyWindow window;
    const auto player = CreateMciMediaPlayer(window.Get());
    player->Open(MusicFile("short-tone.mp3"), true, false);
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    player->Play();
    EXPECT_EQ(player->Mode(), playermode::Playing);
    ASSERT_TRUE(window.WaitFor(1)) << "no notification at the end of the tone";
    EXPECT_EQ(window.received[0].flags, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_EQ(player->Mode(), playermode::Stopped);

    // A second play starts over, and ends again.
    player->Play();
    EXPECT_EQ(player->Mode(), playermode::Playing);
    ASSERT_TRUE(window.WaitFor(2));
    EXPECT_EQ(window.received[1].flags, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

TEST(MediaPlayerMci, AnOpenThatAsksForANotificationGetsOneAndOneThatDoesNotGetsNone)
{
    NotifyWindow window;
    const auto player = CreateMciMediaPlayer(window.Get());
    player->Open(MusicFile("short-tone.mp3"), false, true);
    ASSERT_TRUE(window.WaitFor(1)) << "no notification for the open";
    EXPECT_EQ(window.received[0].flags, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));

    player->Open(MusicFile("short-tone.mp3"), true, false);
    EXPECT_FALSE(window.WaitFor(2, std::chrono::milliseconds(300)));
    EXPECT_EQ(window.received.size(), 1u);
}

TEST(MediaPlayerMci, AFileThatIsNotMusicThrowsTheSystemsTextAndTheNextFileStillPlays)
{
    NotifyWindow window;
    const auto player = CreateMciMediaPlayer(window.Get());
    // The system's text for success: Windows has one, Wine none.
    const std::string success = player->ErrorMessage();
    EXPECT_EQ(success.find("error"), std::string::npos) << success;

    for (const char* bad : {"not-audio.mp3", "no-such-file.mp3"}) {
        std::string thrown;
        try {
            player->Open(MusicFile(bad), true, false);
        } catch (const Error& error) {
            thrown = error.what();
        }
        EXPECT_FALSE(thrown.empty()) << bad << " opened";
        EXPECT_NE(thrown, success) << bad;
        EXPECT_EQ(player->ErrorMessage(), thrown) << bad;
        EXPECT_EQ(player->Mode(), playermode::Stopped) << bad << ": nothing is open";
        EXPECT_THROW(player->Play(), Error) << bad << ": nothing to play";
    }

    player->Open(MusicFile("short-tone.mp3"), true, false);
    EXPECT_EQ(player->ErrorMessage(), success);
    player->Play();
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_EQ(window.received[0].flags, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

TEST(MediaPlayerMci, AMidiFileOpensAndStarts)
{
    NotifyWindow window;
    const auto player = CreateMciMediaPlayer(window.Get());
    player->Open(MusicFile("one-note.mid"), true, false);
    EXPECT_EQ(player->Mode(), playermode::Stopped);
    // Without a synthesizer the sequencer never ends the note: no waiting for its end here.
    player->Play();
    EXPECT_EQ(player->Mode(), playermode::Playing);
}

TEST(MediaPlayerMci, ClosingAndDestroyingReleaseTheDevice)
{
    NotifyWindow window;
    const int before = OpenDevices();
    ASSERT_GE(before, 0);
    {
        const auto player = CreateMciMediaPlayer(window.Get());
        player->Close(true); // nothing open: nothing to do
        player->Open(MusicFile("short-tone.mp3"), true, false);
        EXPECT_EQ(OpenDevices(), before + 1);
        player->Close(true);
        EXPECT_EQ(OpenDevices(), before);
        EXPECT_EQ(player->Mode(), playermode::Stopped);
        EXPECT_THROW(player->Play(), Error);

        // Opening again replaces the device rather than adding one.
        player->Open(MusicFile("short-tone.mp3"), true, false);
        player->Open(MusicFile("short-tone.mp3"), true, false);
        EXPECT_EQ(OpenDevices(), before + 1);
        player->Play();
    }
    EXPECT_EQ(OpenDevices(), before) << "the player went with its device open";
    // The cut play reports that it did not end normally, if at all.
    window.WaitFor(1, std::chrono::milliseconds(300));
    for (const Notification& n : window.received) EXPECT_NE(n.flags, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

class RecordingEvents final : public QuietUiEvents {
public:
    void MediaNotify(unsigned flags) override
    {
        notifications.push_back(flags);
        threads.push_back(std::this_thread::get_id());
    }

    std::vector<unsigned> notifications;
    std::vector<std::thread::id> threads;
};

TEST(MediaPlayerMci, TheHostsPlayerNotifiesTheFormOnTheUiThread)
{
    const auto host = CreateUiHost();
    RecordingEvents events;
    try {
        host->OpenFullScreenWindow(events, false);
    } catch (const Error& error) {
        GTEST_SKIP() << "Wine opens no top-level window without a display (" << error.what()
                     << "); the player cases above cover MCI's notifications";
    }
    const auto player = host->CreateMediaPlayer();
    ASSERT_NE(player, nullptr);
    player->Open(MusicFile("short-tone.mp3"), false, true);
    const auto start = Clock::now();
    while (events.notifications.empty() && Clock::now() - start < kNotifyBound) host->WaitAndDispatch(10);
    ASSERT_EQ(events.notifications.size(), 1u) << "the open's notification";
    player->Play();
    while (events.notifications.size() < 2 && Clock::now() - start < kNotifyBound) host->WaitAndDispatch(10);
    ASSERT_EQ(events.notifications, (std::vector<unsigned>{mcinotify::Successful, mcinotify::Successful}));
    for (const auto& thread : events.threads) EXPECT_EQ(thread, std::this_thread::get_id());
    EXPECT_EQ(player->Mode(), playermode::Stopped);
}

} // namespace
