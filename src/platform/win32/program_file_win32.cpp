#include "platform/program_file.h"
#include "platform/win32/windows_header.h"

std::string ProgramFilePath()
{
    char buffer[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

char PathDelimiter() { return '\\'; }
