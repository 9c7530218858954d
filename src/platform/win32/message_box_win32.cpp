#include "platform/message_box.h"
#include "platform/win32/windows_header.h"

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style, NativeWindow owner)
{
    return MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}
