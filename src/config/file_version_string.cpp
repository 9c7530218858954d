#include "config/file_version_string.h"

std::string FormatFileVersion(const FileVersion& version)
{
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.release) + "." + std::to_string(version.build);
}

std::string FileVersionString(const std::string& path)
{
    const auto version = ReadFileVersion(path);
    return version ? FormatFileVersion(*version) : std::string();
}
