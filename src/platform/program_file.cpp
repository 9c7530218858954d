#include "platform/program_file.h"

#include "platform/text.h"

namespace {

std::string::size_type LastDelimiter(const std::string& path)
{
    // "/" is accepted on both OS: Windows takes either.
    return path.find_last_of(PathDelimiter() == '\\' ? "\\/:" : "/");
}

} // namespace

std::string ExtractFilePath(const std::string& path)
{
    const auto at = LastDelimiter(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string ExtractFileName(const std::string& path)
{
    const auto at = LastDelimiter(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ApplicationTitle()
{
    const std::string name = ExtractFileName(ProgramFilePath());
    const std::string ext = ExtractFileExt(name);
    return name.substr(0, name.size() - ext.size());
}
