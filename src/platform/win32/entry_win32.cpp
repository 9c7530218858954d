// The Windows entry point: the command-line text is what follows the program name.
#include "app/mode_dispatch.h"
#include "platform/win32/windows_header.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return RunProgram(commandLine ? commandLine : "");
}
