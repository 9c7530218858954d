#pragma once
// Files in the user's own cache folder: %LOCALAPPDATA%\Tovelin on Windows,
// $XDG_CACHE_HOME/tovelin (by default ~/.cache/tovelin) on Linux. What is kept there can be
// rebuilt, so every failure here is reported as "nothing", never thrown.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The cache folder's path, without a final delimiter; none when the OS names no such folder.
std::optional<std::string> UserCacheDirectory();

// The bytes of the file name in the cache folder: none when it is missing, larger than
// maxBytes, not a regular file, or (on Linux) a link or not the current user's, as is the folder.
std::optional<std::string> ReadUserCacheFile(const std::string& name, std::size_t maxBytes);

// Replaces the file name in the cache folder as a whole, creating the folder if need be: the
// bytes go to a temporary file that is then renamed over it, so that a reader never sees half a
// file. False when it could not be done; the old file is then left as it was.
bool WriteUserCacheFile(const std::string& name, std::string_view content);
