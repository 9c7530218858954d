#pragma once
// What Save asks of the system to make the program the current screen saver. Windows: the real
// system calls. Linux has no system selection of its own: the directories are empty, short
// names are the names themselves, and switching on and the profile write do nothing.
#include <memory>
#include <string>

class SaverInstallation {
public:
    virtual ~SaverInstallation() = default;

    // The running program file's full path.
    virtual std::string ProgramFilePath() const = 0;
    // SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, ...), made permanent and announced.
    virtual void SwitchScreenSaverOn() = 0;
    // GetSystemDirectoryA and GetWindowsDirectoryA.
    virtual std::string SystemDirectory() const = 0;
    virtual std::string WindowsDirectory() const = 0;
    // GetShortPathNameA: a bare name resolves against the current directory. Empty when the
    // file cannot be found.
    virtual std::string ShortPathName(const std::string& path) const = 0;
    // WritePrivateProfileStringA; the result is ignored.
    virtual void WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& file) = 0;

protected:
    SaverInstallation() = default;
    SaverInstallation(const SaverInstallation&) = delete;
    SaverInstallation& operator=(const SaverInstallation&) = delete;
};

std::unique_ptr<SaverInstallation> CreateSystemSaverInstallation();
