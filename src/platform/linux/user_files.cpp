#include "platform/linux/user_files.h"

#include <pwd.h>

#include <cstdlib>

std::string HomeDirectory()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}
