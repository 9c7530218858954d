#include "platform/message_box.h"

#include "platform/handler_guard.h"
#include "platform/program_file.h"

std::string ErrorBoxText(const std::string& message)
{
    if (message.empty()) return message;
    if (static_cast<unsigned char>(message.back()) <= static_cast<unsigned char>('.')) return message;
    return message + ".";
}

int CancellingAnswer(unsigned style)
{
    switch (style & 0xF) {
    case mb::OkCancel: return mb::IdCancel;
    case mb::YesNo: return mb::IdNo;
    default: return mb::IdOk;
    }
}

void ReportHandlerError(const char* message) noexcept
{
    try {
        ShowErrorBox(message);
    } catch (...) {
        // Nothing left to tell the user with.
    }
}

void ShowErrorBox(const std::string& message)
{
    ShowMessageBox(ErrorBoxText(message), ApplicationTitle(), mb::Ok | mb::IconError);
}
