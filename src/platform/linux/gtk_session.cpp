#include "platform/linux/gtk_session.h"

#include <gtk/gtk.h>

#include <mutex>
#include <optional>
#include <thread>

namespace {

std::mutex g_ThreadMutex;
std::optional<std::thread::id> g_GtkThread;

} // namespace

bool ClaimGtkThread()
{
    const std::lock_guard lock(g_ThreadMutex);
    if (!g_GtkThread) g_GtkThread = std::this_thread::get_id();
    return *g_GtkThread == std::this_thread::get_id();
}

bool EnsureGtkInitialized()
{
    // GTK is not thread-safe: any other thread gets "no display" rather than a corrupted toolkit.
    if (!ClaimGtkThread()) return false;
    static const bool initialized = gtk_init_check(nullptr, nullptr);
    return initialized;
}
