#pragma once
// The stored form of the directory list: the directories joined by "|", with no quoting.
#include <string>
#include <string_view>
#include <vector>

// Between two directories of the stored list. A directory whose name holds it cannot be stored.
constexpr char kDirectoryListSeparator = '|';

std::vector<std::string> SplitDirectoryList(std::string_view text);
std::string JoinDirectoryList(const std::vector<std::string>& directories);
