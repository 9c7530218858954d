#include "platform/linux/registry_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include "app/log_trace.h"
#include "platform/linux/registry_file_format.h"

namespace {

constexpr const char* kStoreDirectory = "tovelin";
constexpr const char* kStoreName = "registry.reg";
constexpr const char* kLockSuffix = ".lock";
constexpr const char* kTemporaryInfix = ".tmp-";
constexpr const char* kCorruptInfix = ".corrupt-";

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_Fd(std::exchange(other.m_Fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_Fd = std::exchange(other.m_Fd, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_Fd; }
    explicit operator bool() const { return m_Fd >= 0; }
    // Closes now, reporting the result: a delayed write error shows up here.
    bool Close() { return ::close(std::exchange(m_Fd, -1)) == 0; }

private:
    void Reset()
    {
        if (m_Fd >= 0) ::close(m_Fd);
        m_Fd = -1;
    }
    int m_Fd = -1;
};

struct StoreLocation {
    std::string directory;
    std::string file;
    std::string lock;
};

std::string HomeDirectory()
{
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

std::optional<StoreLocation> CurrentLocation()
{
    std::string base;
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules ask.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        const std::string home = HomeDirectory();
        if (home.empty()) return std::nullopt;
        base = home + "/.config";
    }
    StoreLocation where;
    where.directory = base + "/" + kStoreDirectory;
    where.file = where.directory + "/" + kStoreName;
    where.lock = where.file + kLockSuffix;
    return where;
}

bool MakeDirectories(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

void SyncDirectory(const std::string& directory)
{
    // Makes the rename itself durable; some file systems refuse to sync a directory, and the
    // rename has happened by then anyway.
    const UniqueFd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.Get());
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

enum class LockState { Locked, NoDirectory, CannotLock, Failed };

struct StoreLock {
    LockState state;
    UniqueFd fd;
};

// The lock file is separate from the store because every write replaces the store's inode.
StoreLock LockStore(const StoreLocation& where)
{
    UniqueFd fd(::open(where.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd) {
        if (errno == ENOENT) return {LockState::NoDirectory, {}};
        if (errno != EACCES && errno != EROFS) return {LockState::Failed, {}};
        // A read-only directory: an existing lock file still serves readers; without one, no
        // program of this user can be writing here.
        fd = UniqueFd(::open(where.lock.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd) return {errno == ENOENT ? LockState::CannotLock : LockState::Failed, {}};
    }
    while (::flock(fd.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) return {LockState::Failed, {}};
    }
    return {LockState::Locked, std::move(fd)};
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d-%H%M%S", &parts);
    return buffer;
}

// Renames without replacing: a file kept aside earlier in the same second must survive.
bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse by itself; under the store's lock nobody else names files here.
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Keeps an unparsable store under a new name so that nothing a user wrote is lost.
bool KeepCorruptStoreAside(const StoreLocation& where, const RegistryParseError& error)
{
    const std::string base = where.file + kCorruptInfix + TimeStamp();
    std::string target = base;
    bool kept = false;
    for (int counter = 2; counter < 1000; ++counter) {
        if (RenameNoReplace(where.file, target)) {
            kept = true;
            break;
        }
        if (errno != EEXIST) break;
        target = base + "-" + std::to_string(counter);
    }
    const std::string problem = "settings store " + where.file + " unreadable (" + error.Describe() + ")";
    if (!kept) {
        LogTrace(problem + ", could not be kept aside (" + std::strerror(errno) + "); left as it is");
        return false;
    }
    SyncDirectory(where.directory);
    LogTrace(problem + ", kept as " + FileName(target) + "; starting from defaults");
    return true;
}

std::optional<RegistryDocument> ReadCurrent(const StoreLocation& where)
{
    const UniqueFd fd(::open(where.file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT) return RegistryDocument{};
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    RegistryParseResult parsed = ParseRegistryFile(text);
    if (!parsed.error) return std::move(parsed.document);
    if (!KeepCorruptStoreAside(where, *parsed.error)) return std::nullopt;
    return RegistryDocument{};
}

// Leftovers of a writer that died before its rename. Only called under the lock, while no
// other writer can be using one.
void RemoveStaleTemporaries(const StoreLocation& where)
{
    DIR* directory = ::opendir(where.directory.c_str());
    if (!directory) return;
    const std::string prefix = std::string(kStoreName) + kTemporaryInfix;
    while (const dirent* entry = ::readdir(directory)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) {
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
        }
    }
    ::closedir(directory);
}

bool ReplaceStore(const StoreLocation& where, const RegistryDocument& document)
{
    RemoveStaleTemporaries(where);
    std::string temporary = where.file + kTemporaryInfix + "XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd) return false;

    struct stat current {};
    const mode_t mode = ::stat(where.file.c_str(), &current) == 0 ? (current.st_mode & 07777) : 0600;
    const bool written = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), FormatRegistryFile(document)) &&
                         ::fsync(fd.Get()) == 0 && fd.Close() &&
                         ::rename(temporary.c_str(), where.file.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(where.directory);
    return true;
}

} // namespace

std::string RegistryStoreFilePath()
{
    const auto where = CurrentLocation();
    return where ? where->file : std::string();
}

std::optional<RegistryDocument> LoadRegistryStore()
{
    const auto where = CurrentLocation();
    if (!where) return std::nullopt;
    const StoreLock lock = LockStore(*where);
    switch (lock.state) {
    case LockState::Locked:
    case LockState::CannotLock:
        return ReadCurrent(*where);
    case LockState::NoDirectory:
        return RegistryDocument{};
    case LockState::Failed:
        break;
    }
    return std::nullopt;
}

bool EditRegistryStore(const std::function<StoreEdit(RegistryDocument&)>& edit)
{
    const auto where = CurrentLocation();
    if (!where) return false;
    StoreLock lock = LockStore(*where);
    if (lock.state == LockState::NoDirectory) {
        // Nothing is created on disk for an edit that changes nothing.
        RegistryDocument empty;
        const StoreEdit result = edit(empty);
        if (result != StoreEdit::Changed) return result == StoreEdit::Unchanged;
        if (!MakeDirectories(where->directory)) return false;
        lock = LockStore(*where);
    }
    if (lock.state != LockState::Locked && lock.state != LockState::CannotLock) return false;

    auto document = ReadCurrent(*where);
    if (!document) return false;
    const StoreEdit result = edit(*document);
    if (result != StoreEdit::Changed) return result == StoreEdit::Unchanged;
    return lock.state == LockState::Locked && ReplaceStore(*where, *document);
}
