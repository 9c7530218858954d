#include "platform/linux/media_player_linux.h"

#include <cstdlib>
#include <utility>

#include "gfx/error.h"

namespace {

// playbin's flags: audio and its own volume control; no video, no subtitles.
constexpr unsigned kPlaybinAudioSoftVolume = 0x2 | 0x10;
constexpr GstClockTime kOpenTimeout = 5 * GST_SECOND;
constexpr const char* kSilentSink = "fakesink sync=true";

// Takes ownership of a floating or full reference.
GstRef<GstElement> Sunk(GstElement* element)
{
    return GstRef<GstElement>::Adopt(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

// The text of the error that a message carries.
std::string ErrorText(GstMessage* message, const char* fallback)
{
    GlibError error;
    gst_message_parse_error(message, error.Out(), nullptr);
    return error.Message(fallback);
}

// A sink that answers at READY is one that reaches a sound device. Probing an absent device
// must stay silent: no element of ours is on a bus, and GStreamer's own log is off unless the
// user turned it on.
std::string ProbeSink()
{
    for (const char* name : {"pulsesink", "alsasink"}) {
        const GstRef<GstElement> sink = Sunk(gst_element_factory_make(name, nullptr));
        if (!sink) continue;
        const GstStateChangeReturn ready = gst_element_set_state(sink.get(), GST_STATE_READY);
        gst_element_set_state(sink.get(), GST_STATE_NULL);
        if (ready != GST_STATE_CHANGE_FAILURE) return name;
    }
    return kSilentSink;
}

GstRef<GstElement> MakeSink(const std::string& description)
{
    GlibError error;
    GstRef<GstElement> sink = Sunk(gst_parse_bin_from_description(description.c_str(), TRUE, error.Out()));
    if (error) sink.reset();
    return sink;
}

} // namespace

GstMediaPlayer::GstMediaPlayer(UiHost& host) : m_Host(host)
{
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
}

GstMediaPlayer::~GstMediaPlayer() { DropPipeline(); }

std::string GstMediaPlayer::AudioSinkDescription()
{
    if (const char* chosen = std::getenv("TOVELIN_AUDIO_SINK"); chosen && *chosen) return chosen;
    return ProbedSink();
}

const std::string& GstMediaPlayer::ProbedSink()
{
    static const std::string probed = ProbeSink();
    return probed;
}

void GstMediaPlayer::Open(const std::string& path, bool wait, bool notify)
{
    Close(true);
    m_LastError.clear();

    GlibError uriError;
    const GlibString uri(gst_filename_to_uri(path.c_str(), uriError.Out()));
    if (!uri) Fail(uriError.Message("The file name cannot be used."));
    GstRef<GstElement> pipeline = Sunk(gst_element_factory_make("playbin", nullptr));
    if (!pipeline) Fail("The media player (GStreamer's playbin) is not installed.");
    GstRef<GstElement> sink = MakeSink(AudioSinkDescription());
    // A sink description that does not parse is a slip in a setting, not a reason for silence.
    if (!sink) sink = MakeSink(ProbedSink());
    if (!sink) sink = MakeSink(kSilentSink);
    g_object_set(pipeline.get(), "uri", uri.c_str(), "flags", kPlaybinAudioSoftVolume, "audio-sink", sink.get(),
                 nullptr);

    m_Pipeline = std::move(pipeline);
    m_Bus = GstRef<GstBus>::Adopt(gst_element_get_bus(m_Pipeline.get()));
    gst_bus_add_watch(m_Bus.get(), &GstMediaPlayer::OnBusMessage, this);

    if (gst_element_set_state(m_Pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) Fail(BusErrorText());
    if (wait) {
        const GstStateChangeReturn done = gst_element_get_state(m_Pipeline.get(), nullptr, nullptr, kOpenTimeout);
        if (done == GST_STATE_CHANGE_FAILURE) Fail(BusErrorText());
        if (done == GST_STATE_CHANGE_ASYNC) Fail("The file did not open within five seconds.");
        if (notify) PostNotify(mcinotify::Successful);
    } else {
        m_OpenNotifyPending = notify;
    }
}

void GstMediaPlayer::Play()
{
    m_LastError.clear();
    if (!m_Pipeline) {
        m_LastError = "No music file is open.";
        throw Error(m_LastError);
    }
    if (m_Failed) {
        m_LastError = m_FailText;
        throw Error(m_LastError);
    }
    if (m_OpenNotifyPending || m_PlayNotifyPending) PostNotify(mcinotify::Superseded);
    m_OpenNotifyPending = false;
    if (m_Ended) {
        gst_element_seek_simple(m_Pipeline.get(), GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 0);
        m_Ended = false;
    }
    m_PlayAsked = true;
    m_PlayNotifyPending = true;
    if (gst_element_set_state(m_Pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        MarkFailed(BusErrorText());
        throw Error(m_LastError);
    }
}

int GstMediaPlayer::Mode()
{
    if (!m_Pipeline || m_Failed || m_Ended) return playermode::Stopped;
    // The state asked for: a play still prerolling already counts as playing.
    GST_OBJECT_LOCK(m_Pipeline.get());
    const GstState target = GST_STATE_TARGET(m_Pipeline.get());
    GST_OBJECT_UNLOCK(m_Pipeline.get());
    if (target == GST_STATE_PLAYING) return playermode::Playing;
    if (target == GST_STATE_PAUSED && m_PlayAsked) return playermode::Paused;
    return playermode::Stopped;
}

void GstMediaPlayer::Close(bool /*wait*/)
{
    m_LastError.clear();
    if (!m_Pipeline) return;
    if (m_OpenNotifyPending || m_PlayNotifyPending) PostNotify(mcinotify::Aborted);
    DropPipeline();
}

int GstMediaPlayer::OnBusMessage(GstBus*, GstMessage* message, void* self)
{
    auto& player = *static_cast<GstMediaPlayer*>(self);
    if (!player.m_Pipeline) return G_SOURCE_CONTINUE;
    unsigned flags = 0;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(player.m_Pipeline.get()) && player.m_OpenNotifyPending) {
            player.m_OpenNotifyPending = false;
            flags = mcinotify::Successful;
        }
        break;
    case GST_MESSAGE_EOS:
        player.m_Ended = true;
        if (player.m_PlayNotifyPending) {
            player.m_PlayNotifyPending = false;
            flags = mcinotify::Successful;
        }
        break;
    case GST_MESSAGE_ERROR: {
        if (player.m_Failed) break;
        const bool pending = player.m_OpenNotifyPending || player.m_PlayNotifyPending;
        player.MarkFailed(ErrorText(message, "The file cannot be played."));
        if (pending) flags = mcinotify::Failure;
        break;
    }
    default: break;
    }
    // Last: the form's handler may close or replace this player's pipeline.
    if (flags) {
        try {
            player.m_Host.DeliverMediaNotify(flags);
        } catch (...) {
            // The host reports handler errors itself; nothing may unwind into GLib.
        }
    }
    return G_SOURCE_CONTINUE;
}

std::string GstMediaPlayer::BusErrorText()
{
    // The element that failed posts its error before the state change reports the failure.
    const Owned<GstMessage, gst_message_unref> message(
        gst_bus_timed_pop_filtered(m_Bus.get(), GST_SECOND, GST_MESSAGE_ERROR));
    if (!message) return "The file cannot be played.";
    return ErrorText(message.get(), "The file cannot be played.");
}

void GstMediaPlayer::PostNotify(unsigned flags)
{
    UiHost& host = m_Host;
    host.Post([&host, flags] { host.DeliverMediaNotify(flags); });
}

void GstMediaPlayer::MarkFailed(const std::string& text)
{
    m_Failed = true;
    m_FailText = text;
    m_LastError = text;
    m_OpenNotifyPending = false;
    m_PlayNotifyPending = false;
    // Streaming stops before anything else starts.
    if (m_Pipeline) gst_element_set_state(m_Pipeline.get(), GST_STATE_NULL);
}

void GstMediaPlayer::Fail(const std::string& text)
{
    MarkFailed(text);
    DropPipeline();
    throw Error(text);
}

void GstMediaPlayer::DropPipeline()
{
    if (m_Bus) {
        gst_bus_remove_watch(m_Bus.get());
        m_Bus.reset();
    }
    if (m_Pipeline) {
        gst_element_set_state(m_Pipeline.get(), GST_STATE_NULL);
        m_Pipeline.reset();
    }
    m_OpenNotifyPending = false;
    m_PlayNotifyPending = false;
    m_PlayAsked = false;
    m_Ended = false;
    m_Failed = false;
    m_FailText.clear();
}
