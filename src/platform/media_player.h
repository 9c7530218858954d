#pragma once
// A player of one music file at a time, with the device chosen by the file's type: MCI on
// Windows, a GStreamer playbin on Linux. UI thread only. Its completion notifications reach the
// window's UiEvents::MediaNotify on the UI thread, through the UI host that made it.
#include <string>

// The player's mode, with the MCI numbers less MCI_MODE_NOT_READY.
namespace playermode {
constexpr int NotReady = 0;
constexpr int Stopped = 1;
constexpr int Playing = 2;
constexpr int Recording = 3;
constexpr int Seeking = 4;
constexpr int Paused = 5;
constexpr int Open = 6;
} // namespace playermode

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Opens path on the device its type chooses, closing any device open before. With wait the
    // call returns once the open is complete; with notify a notification follows its completion.
    // Throws Error carrying the device's error text when the file cannot be opened.
    virtual void Open(const std::string& path, bool wait, bool notify) = 0;
    // Plays the open file from the start to its end without waiting; a notification follows the
    // end (or the cut). Throws Error when nothing is open or the device refuses.
    virtual void Play() = 0;
    // The device's mode (playermode); Stopped when nothing is open.
    virtual int Mode() = 0;
    // Closes the open device, stopping it; nothing when none is open.
    virtual void Close(bool wait) = 0;
    // A readable text for the result of the last command ("" or the system's success text when
    // it succeeded).
    virtual std::string ErrorMessage() = 0;

protected:
    MediaPlayer() = default;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;
};
