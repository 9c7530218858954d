#include "platform/linux/help_pages.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::string_view kTopicSeparator = "::/";
constexpr std::string_view kInstalledHelp = "share/tovelin/help/";

bool IsRegularFile(const std::string& path)
{
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// "/usr/bin/" gives "/usr/"; a program at the root or without a folder has no prefix.
std::string ParentFolder(const std::string& folder)
{
    if (folder.size() < 2) return {};
    const std::size_t slash = folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

} // namespace

std::string FindHelpPage(const std::string& topic)
{
    const std::size_t separator = topic.find(kTopicSeparator);
    if (separator == std::string::npos) return {};
    const std::string helpFile = topic.substr(0, separator);
    const std::string page = topic.substr(separator + kTopicSeparator.size());
    if (page.empty() || page.front() == '/') return {};
    for (std::size_t start = 0; start <= page.size();) {
        const std::size_t end = std::min(page.find('/', start), page.size());
        if (page.compare(start, end - start, "..") == 0) return {};
        start = end + 1;
    }
    const std::size_t slash = helpFile.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : helpFile.substr(0, slash + 1);

    const std::string prefix = ParentFolder(folder);
    const std::array candidates{folder + "help/" + page,
                                prefix.empty() ? std::string() : prefix + std::string(kInstalledHelp) + page};
    for (const std::string& candidate : candidates) {
        if (!candidate.empty() && IsRegularFile(candidate)) return candidate;
    }
    return {};
}
