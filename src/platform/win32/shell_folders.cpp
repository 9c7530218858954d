#include "platform/win32/shell_folders.h"

#include <memory>

#include <objbase.h>
#include <shlobj.h>

namespace {

struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// The thread in a single-threaded apartment while the browser runs, as it needs; a thread
// already initialised otherwise is left as it is.
class ComApartment {
public:
    ComApartment() : m_Joined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (m_Joined) CoUninitialize();
    }

private:
    bool m_Joined;
};

} // namespace

std::optional<std::string> BrowseForDirectory(HWND owner, const std::string& prompt)
{
    const ComApartment apartment;
    // The computer folder is the tree's root; its path buffer then takes the chosen item's
    // display name.
    Pidl root;
    {
        LPITEMIDLIST drives = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &drives))) root.reset(drives);
    }
    char rootPath[MAX_PATH] = "";
    if (root) SHGetPathFromIDListA(root.get(), rootPath);

    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = root.get();
    browse.pszDisplayName = rootPath;
    browse.lpszTitle = prompt.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const Pidl chosen(SHBrowseForFolderA(&browse));
    if (!chosen) return std::nullopt;
    char path[MAX_PATH + 1] = "";
    if (!SHGetPathFromIDListA(chosen.get(), path) || path[0] == '\0') return std::nullopt;
    return std::string(path);
}
