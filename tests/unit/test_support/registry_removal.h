#pragma once
// Removals that only tests make (the program itself never removes settings), done per OS
// straight on the store: an edit of the store file on Linux, the registry API on Windows.
#include <string>

// Removes one value of the key at path below HKEY_CURRENT_USER; false when it was absent.
bool DeleteRegistryValue(const std::string& path, const std::string& name);
// Removes the key with its values and sub-keys; true when it is gone afterwards. The whole of
// HKEY_CURRENT_USER (an empty path) is never removed.
bool DeleteRegistryKey(const std::string& path);
