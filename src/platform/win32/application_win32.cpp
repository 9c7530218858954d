#include "platform/application.h"

#include "platform/win32/windows_header.h"

Application& Application::Instance()
{
    static Application application;
    return application;
}

void Application::Initialize() {}

void Application::Run()
{
    MSG message;
    while (m_MainWindowOpen && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Application::Terminate()
{
    m_MainWindowOpen = false;
    PostQuitMessage(0);
}
