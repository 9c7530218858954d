#include "platform/saver_installation.h"

#include <sys/stat.h>

#include "platform/program_file.h"

namespace {

// Linux has no system-wide screen-saver selection for Save to make.
class LinuxSaverInstallation final : public SaverInstallation {
public:
    std::string ProgramFilePath() const override { return ::ProgramFilePath(); }
    void SwitchScreenSaverOn() override {}
    std::string SystemDirectory() const override { return {}; }
    std::string WindowsDirectory() const override { return {}; }

    // Names have no short form here; a relative name resolves against the current directory.
    std::string ShortPathName(const std::string& path) const override
    {
        struct stat status{};
        if (path.empty() || ::stat(path.c_str(), &status) != 0) return {};
        return path;
    }

    void WriteProfileString(const std::string&, const std::string&, const std::string&, const std::string&) override {}
};

} // namespace

std::unique_ptr<SaverInstallation> CreateSystemSaverInstallation()
{
    return std::make_unique<LinuxSaverInstallation>();
}
