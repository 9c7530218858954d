#include "settings/directory_list.h"

std::vector<std::string> SplitDirectoryList(std::string_view text)
{
    std::vector<std::string> directories;
    if (text.empty()) return directories;
    for (;;) {
        const auto bar = text.find(kDirectoryListSeparator);
        if (bar == std::string_view::npos) break;
        directories.emplace_back(text.substr(0, bar));
        text.remove_prefix(bar + 1);
    }
    directories.emplace_back(text);
    return directories;
}

std::string JoinDirectoryList(const std::vector<std::string>& directories)
{
    std::string text;
    for (std::size_t i = 0; i < directories.size(); ++i) {
        text += directories[i];
        if (i + 1 < directories.size()) text += kDirectoryListSeparator;
    }
    return text;
}
