#pragma once
// The one way <windows.h> comes into the program.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// UiHost::DrawText and SaverInstallation::WriteProfileString are the project's own names; the
// ANSI/wide switch macros would rename them.
#ifdef DrawText
#undef DrawText
#endif
#ifdef WriteProfileString
#undef WriteProfileString
#endif
