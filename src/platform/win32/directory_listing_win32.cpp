#include "platform/directory_listing.h"

#include <string_view>
#include <utility>

#include "platform/win32/windows_header.h"

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : m_Handle(handle) {}
    ~FindHandle()
    {
        if (m_Handle != INVALID_HANDLE_VALUE) FindClose(m_Handle);
    }
    FindHandle(FindHandle&& other) noexcept : m_Handle(std::exchange(other.m_Handle, INVALID_HANDLE_VALUE)) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE Get() const { return m_Handle; }

private:
    HANDLE m_Handle;
};

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_Handle(handle) {}
    ~FileHandle()
    {
        if (m_Handle != INVALID_HANDLE_VALUE) CloseHandle(m_Handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_Handle; }

private:
    HANDLE m_Handle;
};

std::optional<DirectoryIdentity> IdentityOf(const std::string& directory)
{
    // A directory opens only with backup semantics; through a junction or a link it is the
    // target that opens. The trailing "\" keeps "C:" the root rather than drive C's current
    // directory.
    const FileHandle file(CreateFileA((directory + '\\').c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return DirectoryIdentity{info.dwVolumeSerialNumber,
                             (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

class Win32DirectoryListing final : public DirectoryListing {
public:
    Win32DirectoryListing(FindHandle find, const WIN32_FIND_DATAA& first, std::optional<DirectoryIdentity> identity)
        : m_Find(std::move(find)), m_Data(first), m_Identity(identity)
    {
    }

    bool Next(DirectoryEntry& entry) override
    {
        for (;;) {
            if (m_Pending) {
                m_Pending = false;
            } else if (!FindNextFileA(m_Find.Get(), &m_Data)) {
                return false;
            }
            const std::string_view name(m_Data.cFileName);
            const bool directory = (m_Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (directory && (name == "." || name == "..")) continue;
            entry.name.assign(name);
            entry.isDirectory = directory;
            return true;
        }
    }

    std::optional<DirectoryIdentity> Identity() const override { return m_Identity; }

private:
    FindHandle m_Find;
    WIN32_FIND_DATAA m_Data;
    bool m_Pending = true; // FindFirstFileA has already delivered the first entry
    std::optional<DirectoryIdentity> m_Identity;
};

} // namespace

std::unique_ptr<DirectoryListing> OpenDirectoryListing(const std::string& directory)
{
    WIN32_FIND_DATAA first{};
    FindHandle find(FindFirstFileA((directory + "\\*").c_str(), &first));
    if (find.Get() == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DirectoryListing>(std::move(find), first, IdentityOf(directory));
}
