// A player's bus watched for the UI host: the end of a stream and an error posted from the
// streaming thread arrive as media notifications on the UI thread.
#include <gtest/gtest.h>
#include <gst/gst.h>

#include <thread>

#include "gfx/error.h"
#include "platform/linux/media_bus_watch.h"
#include "recording_ui_events.h"

namespace {

struct BusDeleter {
    void operator()(GstBus* bus) const { gst_object_unref(bus); }
};

TEST(MediaBusWatch, EndOfStreamAndErrorsArriveOnTheUiThreadInOrder)
{
    gst_init(nullptr, nullptr);
    GtkUiHost host;
    RecordingUiEvents events;
    host.ConnectEvents(events);
    const std::unique_ptr<GstBus, BusDeleter> bus(gst_bus_new());
    {
        const MediaBusWatch watch(bus.get(), host);
        std::thread streaming([&] {
            gst_bus_post(bus.get(), gst_message_new_eos(nullptr));
            gst_bus_post(bus.get(), gst_message_new_state_dirty(nullptr));
            GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "undecodable");
            gst_bus_post(bus.get(), gst_message_new_error(nullptr, error, "test"));
            g_error_free(error);
        });
        const bool both = PumpUntil(host, [&] { return events.media.size() >= 2; });
        streaming.join();
        ASSERT_TRUE(both);
        EXPECT_EQ(events.media, (std::vector<unsigned>{mcinotify::Successful, mcinotify::Failure}));
        EXPECT_TRUE(events.onCreatingThread);
        EXPECT_THROW(MediaBusWatch(bus.get(), host), Error);
    }
    // The watch went with its owner: the bus takes a new one, and messages no longer arrive.
    events.media.clear();
    gst_bus_post(bus.get(), gst_message_new_eos(nullptr));
    host.WaitAndDispatch(20);
    EXPECT_TRUE(events.media.empty());
    EXPECT_NO_THROW(MediaBusWatch(bus.get(), host));
}

} // namespace
