#pragma once
// An ordered list of 8-bit texts: unsorted, duplicates kept, indexed from 0.
#include <string>
#include <vector>

using StringList = std::vector<std::string>;
