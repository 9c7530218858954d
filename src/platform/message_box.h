#pragma once
// System message boxes. Styles and results carry the Win32 numbers on every OS, so callers
// pass the values the behaviour names (0x110, MB_ICONINFORMATION, ...).
#include <string>

namespace mb {
constexpr unsigned Ok = 0x0;
constexpr unsigned OkCancel = 0x1;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconError = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconWarning = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned DefButton2 = 0x100;

constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
} // namespace mb

// An owner of a dialog: an opaque native window, or none.
using NativeWindow = void*;

// Shows a modal message box and returns the button chosen (mb::IdOk, ...).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style,
                   NativeWindow owner = nullptr);

// What a box answers when nobody can answer it: the button that cancels, or OK.
int CancellingAnswer(unsigned style);

// The text that the standard error box shows for an error message: a "." is added unless the
// message is empty or already ends in "." or in a character whose code is below it.
std::string ErrorBoxText(const std::string& message);

// The standard error box: OK, error icon, the application title as caption.
void ShowErrorBox(const std::string& message);
