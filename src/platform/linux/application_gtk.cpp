#include "platform/application.h"

#include <gtk/gtk.h>

#include "platform/linux/gtk_session.h"

Application& Application::Instance()
{
    static Application application;
    return application;
}

void Application::Initialize()
{
    // GTK starts on first use (EnsureGtkInitialized), so modes without a window need no display.
}

void Application::Run()
{
    if (!m_MainWindowOpen || !EnsureGtkInitialized()) return;
    gtk_main();
}

void Application::Terminate()
{
    m_MainWindowOpen = false;
    if (gtk_main_level() > 0) gtk_main_quit();
}
