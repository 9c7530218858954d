#include "platform/linux/gtk_session.h"

#include <gtk/gtk.h>

bool EnsureGtkInitialized()
{
    static const bool initialized = gtk_init_check(nullptr, nullptr);
    return initialized;
}
