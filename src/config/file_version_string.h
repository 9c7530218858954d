#pragma once
#include <string>

#include "platform/file_version.h"

// The four numbers joined by ".", in decimal without leading zeros.
std::string FormatFileVersion(const FileVersion& version);
// The version that the file carries, or "" when it has none that can be read.
std::string FileVersionString(const std::string& path);
