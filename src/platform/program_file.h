#pragma once
#include <string>

// Full path of the running program file.
std::string ProgramFilePath();

// The separator of path components: "\" on Windows, "/" on Linux.
char PathDelimiter();

// The directory part of a path, with its trailing delimiter; empty when there is none.
std::string ExtractFilePath(const std::string& path);
// The file-name part of a path.
std::string ExtractFileName(const std::string& path);
// The program file's name without its extension: the application's title.
std::string ApplicationTitle();
