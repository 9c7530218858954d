#pragma once
// A GStreamer bus watched on the default main context, so that the end of a stream and an error
// reach the UI host as the media completion notification, on the UI thread.
#include "platform/ui_host.h"

typedef struct _GstBus GstBus;

class MediaBusWatch {
public:
    // Takes a reference on the bus. Throws Error when the bus already has a watch. The host
    // must outlive the watch.
    MediaBusWatch(GstBus* bus, UiHost& host);
    MediaBusWatch(const MediaBusWatch&) = delete;
    MediaBusWatch& operator=(const MediaBusWatch&) = delete;
    ~MediaBusWatch();

private:
    GstBus* m_Bus;
    UiHost& m_Host;
};
