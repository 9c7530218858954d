#include "platform/directory_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

#include "platform/linux/glib_owners.h"

namespace {

using DirHandle = Owned<DIR, ::closedir>;

class LinuxDirectoryListing final : public DirectoryListing {
public:
    explicit LinuxDirectoryListing(DirHandle dir) : m_Dir(std::move(dir))
    {
        struct stat info {};
        if (::fstat(::dirfd(m_Dir.get()), &info) == 0) {
            m_Identity = DirectoryIdentity{static_cast<std::uint64_t>(info.st_dev),
                                           static_cast<std::uint64_t>(info.st_ino)};
        }
    }

    bool Next(DirectoryEntry& entry) override
    {
        while (const dirent* found = ::readdir(m_Dir.get())) {
            const std::string_view name(found->d_name);
            if (name == "." || name == "..") continue;
            entry.name.assign(name);
            entry.isDirectory = IsDirectory(*found);
            return true;
        }
        return false;
    }

    std::optional<DirectoryIdentity> Identity() const override { return m_Identity; }

private:
    bool IsDirectory(const dirent& found) const
    {
        if (found.d_type == DT_DIR) return true;
        if (found.d_type != DT_LNK && found.d_type != DT_UNKNOWN) return false;
        // Links are followed, as a junction is on Windows; a dangling one is a file.
        struct stat info {};
        return ::fstatat(::dirfd(m_Dir.get()), found.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    }

    DirHandle m_Dir;
    std::optional<DirectoryIdentity> m_Identity;
};

} // namespace

std::unique_ptr<DirectoryListing> OpenDirectoryListing(const std::string& directory)
{
    DirHandle dir(::opendir((directory + '/').c_str()));
    if (!dir) return nullptr;
    return std::make_unique<LinuxDirectoryListing>(std::move(dir));
}
