#include "platform/linux/media_bus_watch.h"

#include <gst/gst.h>

#include "gfx/error.h"

namespace {

gboolean OnBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    auto& host = *static_cast<UiHost*>(data);
    try {
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS: host.DeliverMediaNotify(mcinotify::Successful); break;
        case GST_MESSAGE_ERROR: host.DeliverMediaNotify(mcinotify::Failure); break;
        default: break;
        }
    } catch (...) {
        // The host reports handler errors itself; nothing may unwind into GLib.
    }
    return G_SOURCE_CONTINUE;
}

} // namespace

MediaBusWatch::MediaBusWatch(GstBus* bus, UiHost& host) : m_Bus(bus), m_Host(host)
{
    if (gst_bus_add_watch(m_Bus, OnBusMessage, &m_Host) == 0)
        throw Error("The media player's message bus cannot be watched.");
    gst_object_ref(m_Bus);
}

MediaBusWatch::~MediaBusWatch()
{
    gst_bus_remove_watch(m_Bus);
    gst_object_unref(m_Bus);
}
