#pragma once
// The Linux music player: one GStreamer playbin per open file, audio only. Its bus is watched on
// the default main context, so the end of a track and a streaming error reach the window through
// the UI host on the UI thread, inside the host's loop and its nested waits alike.
#include <gst/gst.h>

#include <string>

#include "platform/linux/glib_owners.h"
#include "platform/media_player.h"
#include "platform/ui_host.h"

// A full reference of a GStreamer object.
template <typename T> using GstRef = ObjectRef<T, gst_object_unref, gst_object_ref>;

class GstMediaPlayer final : public MediaPlayer {
public:
    // The host must outlive the player.
    explicit GstMediaPlayer(UiHost& host);
    ~GstMediaPlayer() override;

    void Open(const std::string& path, bool wait, bool notify) override;
    void Play() override;
    // Stopped when nothing is open, when the track has ended or failed, and between an open and
    // its play (as a freshly opened MCI device reports); Playing once Play was asked, Paused when
    // a played track stands paused.
    int Mode() override;
    // Setting a pipeline to NULL is synchronous, so a close always completes before it returns.
    void Close(bool wait) override;
    std::string ErrorMessage() override { return m_LastError; }

    // The audio sink's description: TOVELIN_AUDIO_SINK when set, else a sound server's sink that
    // answers, else a silent one that keeps real time. Probed once, without output.
    static std::string AudioSinkDescription();

private:
    static const std::string& ProbedSink();
    static int OnBusMessage(GstBus* bus, GstMessage* message, void* self);
    // A notification for a command that never completes as asked, posted so that it arrives
    // after the current command, as the device's own would.
    void PostNotify(unsigned flags);
    // Records the error, drops the pipeline and throws it.
    [[noreturn]] void Fail(const std::string& text);
    // Stops the pipeline for good: Play then throws text, and Mode is Stopped.
    void MarkFailed(const std::string& text);
    // The text of the error that made a state change fail.
    std::string BusErrorText();
    void DropPipeline();

    UiHost& m_Host;
    GstRef<GstElement> m_Pipeline;
    GstRef<GstBus> m_Bus;
    bool m_OpenNotifyPending = false;
    bool m_PlayNotifyPending = false;
    bool m_PlayAsked = false;
    bool m_Ended = false;
    bool m_Failed = false;
    std::string m_FailText;
    std::string m_LastError;
};
