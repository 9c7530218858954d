#include "platform/saver_installation.h"

#include "platform/program_file.h"
#include "platform/win32/windows_header.h"

namespace {

// Calls query(buffer, offered) with a zero-filled buffer of 261 bytes, 260 offered, and again
// with a larger one while the result says the text needs more room: a long path is never cut.
template <typename Query>
std::string QueryPathText(Query query)
{
    std::string buffer(MAX_PATH + 1, '\0');
    DWORD offered = MAX_PATH;
    for (;;) {
        const DWORD result = query(buffer.data(), offered);
        if (result == 0) return {};
        if (result < offered) {
            buffer.resize(result);
            return buffer;
        }
        // The result is the size needed, its terminating zero included.
        offered = result;
        buffer.assign(static_cast<std::size_t>(offered) + 1, '\0');
    }
}

class SystemSaverInstallation final : public SaverInstallation {
public:
    std::string ProgramFilePath() const override { return ::ProgramFilePath(); }

    void SwitchScreenSaverOn() override
    {
        int unused = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, &unused, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    }

    std::string SystemDirectory() const override
    {
        return QueryPathText([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
    }

    std::string WindowsDirectory() const override
    {
        return QueryPathText([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
    }

    std::string ShortPathName(const std::string& path) const override
    {
        return QueryPathText(
            [&path](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); });
    }

    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                            const std::string& file) override
    {
        WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
    }
};

} // namespace

std::unique_ptr<SaverInstallation> CreateSystemSaverInstallation()
{
    return std::make_unique<SystemSaverInstallation>();
}
