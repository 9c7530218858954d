#pragma once
// The one way <windows.h> comes into the program.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// UiHost::DrawText is the project's own name; the ANSI/wide switch macro would rename it.
#ifdef DrawText
#undef DrawText
#endif
