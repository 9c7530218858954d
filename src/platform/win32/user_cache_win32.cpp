#include "platform/user_cache.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/windows_header.h"
// After <windows.h>, which it needs.
#include <shlobj.h>

namespace {


class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_Handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    HANDLE Get() const { return m_Handle; }
    bool Valid() const { return m_Handle != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        if (!Valid()) return true;
        const bool closed = CloseHandle(m_Handle) != 0;
        m_Handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_Handle;
};

class CoTaskText {
public:
    ~CoTaskText() { CoTaskMemFree(m_Text); }
    PWSTR* Out() { return &m_Text; }
    PCWSTR Get() const { return m_Text; }

private:
    PWSTR m_Text = nullptr;
};

// The program's paths are ANSI text: a folder whose name has no ANSI spelling is not used.
std::optional<std::string> AnsiPath(PCWSTR wide)
{
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, &lossy);
    if (size <= 1 || lossy) return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size - 1));
    return text;
}

std::optional<std::string> LocalAppData()
{
    // The variable first: it names the same folder (Wine sets it from the prefix, though).
    if (const char* variable = std::getenv("LOCALAPPDATA"); variable && *variable) return std::string(variable);
    CoTaskText path;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, path.Out()))) return std::nullopt;
    return AnsiPath(path.Get());
}

} // namespace

std::optional<std::string> UserCacheDirectory()
{
    auto base = LocalAppData();
    if (!base) return std::nullopt;
    while (!base->empty() && (base->back() == '\\' || base->back() == '/')) base->pop_back();
    return *base + "\\Tovelin";
}

std::optional<std::string> ReadUserCacheFile(const std::string& name, std::size_t maxBytes)
{
    const auto directory = UserCacheDirectory();
    if (!directory) return std::nullopt;
    const std::string path = *directory + "\\" + name;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

bool WriteUserCacheFile(const std::string& name, std::string_view content)
{
    const auto directory = UserCacheDirectory();
    if (!directory) return false;
    CreateDirectoryA(directory->c_str(), nullptr);
    const std::string path = *directory + "\\" + name;
    const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    {
        FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        bool written = true;
        while (written && !content.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 24));
            DWORD done = 0;
            written = WriteFile(file.Get(), content.data(), chunk, &done, nullptr) && done > 0;
            content.remove_prefix(done);
        }
        if (!file.Close() || !written) {
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}
