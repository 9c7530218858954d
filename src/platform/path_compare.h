#pragma once
// Whether two paths, compared as written, name the same entry as the OS's file system spells
// names (OS-specific implementation): letter case is ignored on Windows, where "C:\Photos" and
// "c:\PHOTOS" are one folder, and counts on Linux, where "/data/Photos" and "/data/photos" are
// two. No other normalisation: separators, "." and ".." compare as they are.
#include <string_view>

bool SamePathName(std::string_view first, std::string_view second);
