#pragma once
// The version number that a program file carries: the version resource's fixed file
// information on Windows, the version record compiled into the program file on Linux.
#include <cstdint>
#include <optional>
#include <string>

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// Nothing when the file cannot be read or carries no readable version.
std::optional<FileVersion> ReadFileVersion(const std::string& path);
