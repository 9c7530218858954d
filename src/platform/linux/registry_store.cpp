#include "platform/linux/registry_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "app/log_trace.h"
#include "platform/linux/registry_file_format.h"
#include "platform/linux/user_files.h"

namespace {

// Traces why the store failed, naming the file; the callers' own errors say only which value.
std::nullopt_t Failed(const std::string& file, const char* what, const std::string& reason)
{
    LogTrace("settings store " + file + " " + what + " (" + reason + ")");
    return std::nullopt;
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

struct StoreContent {
    bool found = false;
    std::string text;
    mode_t mode = 0600;
};

// One open, fstat and read. Without blocking, so that a FIFO in the file's place cannot hang us.
std::optional<StoreContent> ReadStore(const std::string& file)
{
    StoreContent content;
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.Get() < 0 && errno == ENOENT) return content;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) return Failed(file, "cannot be read", std::strerror(errno));
    if (!S_ISREG(info.st_mode)) {
        return Failed(file, "cannot be read", S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file");
    }
    content.found = true;
    content.mode = info.st_mode & 07777;
    content.text.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == content.text.size()) content.text.resize(size * 2);
        const ssize_t n = ::read(fd.Get(), content.text.data() + size, content.text.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failed(file, "cannot be read", std::strerror(errno));
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    content.text.resize(size);
    return content;
}

RegistryParseResult Parse(const StoreContent& content)
{
    return content.found ? ParseRegistryFile(content.text) : RegistryParseResult{};
}

bool MakeDirectories(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
    const std::size_t slash = path.rfind('/');
    return errno == ENOENT && slash != 0 && slash != std::string::npos &&
           MakeDirectories(path.substr(0, slash)) && (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST);
}

// The lock file is separate from the store because every write replaces the store's inode.
std::optional<UniqueFd> LockStore(const std::string& file)
{
    const std::string lock = file + ".lock";
    int fd = ::open(lock.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ENOENT && MakeDirectories(DirectoryOf(file))) {
        fd = ::open(lock.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    }
    if (fd < 0) return Failed(lock, "cannot be created", std::strerror(errno));
    std::optional<UniqueFd> held(std::in_place, fd);
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) return Failed(lock, "cannot be locked", std::strerror(errno));
    }
    return held;
}

// The file that a write replaces: the store, or the file that the store's symbolic link names,
// so that the link stays in place.
std::optional<std::string> WriteTarget(const std::string& file)
{
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return file;
    char resolved[PATH_MAX];
    if (::realpath(file.c_str(), resolved)) return std::string(resolved);
    return Failed(file, "is a link that cannot be followed", std::strerror(errno));
}

std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d-%H%M%S", &parts);
    return buffer;
}

// Keeps a file with unparsable lines under a new name, never replacing an earlier copy, before
// it is rewritten without them: nothing a user wrote is lost.
bool KeepAside(const std::string& target, const RegistryParseError& error)
{
    const std::string problem = "has unreadable lines, the first " + error.Describe();
    const std::string base = target + ".corrupt-" + TimeStamp();
    std::string copy = base;
    for (int counter = 2;; ++counter) {
        // A hard link keeps the store whole until its replacement is in place.
        if (::link(target.c_str(), copy.c_str()) == 0 ||
            (errno != EEXIST && ::renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, copy.c_str(), RENAME_NOREPLACE) == 0)) {
            break;
        }
        if (errno != EEXIST || counter == 1000) {
            Failed(target, (problem + ", and cannot be kept aside; left as it is").c_str(), std::strerror(errno));
            return false;
        }
        copy = base + "-" + std::to_string(counter);
    }
    LogTrace("settings store " + target + " " + problem + "; kept as " + copy.substr(copy.rfind('/') + 1) +
             ", the values that could be read stay");
    return true;
}

// Leftovers of a writer that died before its rename. Only called under the lock, while no
// other writer can be using one.
void RemoveStaleTemporaries(const std::string& directory, const std::string& prefix)
{
    DIR* entries = ::opendir(directory.c_str());
    if (!entries) return;
    while (const dirent* entry = ::readdir(entries)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

bool WriteAll(int fd, const std::string& data)
{
    for (std::size_t written = 0; written < data.size();) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReplaceFile(const std::string& target, const std::string& text, mode_t mode)
{
    const std::string directory = DirectoryOf(target);
    RemoveStaleTemporaries(directory, target.substr(directory.size() + 1) + ".tmp-");
    std::string temporary = target + ".tmp-XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    const bool created = fd.Get() >= 0;
    const bool written = created && ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), text) &&
                         ::fsync(fd.Get()) == 0 && fd.Close() && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        const int error = errno;
        if (created) ::unlink(temporary.c_str());
        Failed(target, "cannot be written", std::strerror(error));
        return false;
    }
    // Makes the rename itself durable; some file systems refuse to sync a directory, and the
    // rename has happened by then anyway.
    const UniqueFd folder(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
    return true;
}

} // namespace

std::string RegistryStoreFilePath()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules ask.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/tovelin/registry.reg";
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/.config/tovelin/registry.reg";
}

std::optional<RegistryDocument> LoadRegistryStore()
{
    const std::string file = RegistryStoreFilePath();
    if (file.empty()) return Failed("registry.reg", "has no place", "no home directory");
    const auto content = ReadStore(file);
    if (!content) return std::nullopt;
    return std::move(Parse(*content).document);
}

std::optional<RegistryDocument> EditRegistryStore(const std::function<StoreEdit(RegistryDocument&)>& edit)
{
    const std::string file = RegistryStoreFilePath();
    if (file.empty()) return Failed("registry.reg", "has no place", "no home directory");
    const auto lock = LockStore(file);
    if (!lock) return std::nullopt;
    const auto content = ReadStore(file);
    if (!content) return std::nullopt;
    RegistryParseResult parsed = Parse(*content);
    const StoreEdit result = edit(parsed.document);
    if (result == StoreEdit::Refused) return std::nullopt;
    if (result == StoreEdit::Changed) {
        const auto target = WriteTarget(file);
        if (!target || (parsed.error && !KeepAside(*target, *parsed.error)) ||
            !ReplaceFile(*target, FormatRegistryFile(parsed.document), content->mode)) {
            return std::nullopt;
        }
    }
    return std::move(parsed.document);
}
