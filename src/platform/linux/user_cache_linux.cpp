#include "platform/user_cache.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/linux/user_files.h"

namespace {

// Only a real directory of this user's, writable by no one else: a cache planted by somebody
// else is never read.
bool IsOwnDirectory(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder, created private if it is missing; none when it is not this user's own.
std::optional<std::string> OwnCacheDirectory()
{
    const auto directory = UserCacheDirectory();
    if (!directory) return std::nullopt;
    if (::mkdir(directory->c_str(), 0700) != 0 && errno == ENOENT) {
        const std::string parent = directory->substr(0, directory->rfind('/'));
        if (!parent.empty()) ::mkdir(parent.c_str(), 0700);
        ::mkdir(directory->c_str(), 0700);
    }
    if (!IsOwnDirectory(*directory)) return std::nullopt;
    return directory;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<std::string> UserCacheDirectory()
{
    // A relative XDG_CACHE_HOME is invalid and ignored, as the base-directory rules say.
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (cacheHome && *cacheHome == '/') {
        base = cacheHome;
    } else {
        const std::string home = HomeDirectory();
        if (home.empty()) return std::nullopt;
        base = home + "/.cache";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/tovelin";
}

std::optional<std::string> ReadUserCacheFile(const std::string& name, std::size_t maxBytes)
{
    const auto directory = UserCacheDirectory();
    if (!directory || !IsOwnDirectory(*directory)) return std::nullopt;
    const std::string path = *directory + "/" + name;
    // Without following a link, and without blocking on a FIFO put in the file's place.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) return std::nullopt;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::getuid() || info.st_size < 0 ||
        static_cast<std::size_t>(info.st_size) > maxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(fd.Get(), bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    bytes.resize(size);
    return bytes;
}

bool WriteUserCacheFile(const std::string& name, std::string_view content)
{
    const auto directory = OwnCacheDirectory();
    if (!directory) return false;
    const std::string path = *directory + "/" + name;
    std::string temporary = path + ".XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) return false;
    // No fsync: a file cut short by a crash fails its check on reading and is rebuilt.
    const bool written = WriteAll(fd.Get(), content);
    if (!fd.Close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
