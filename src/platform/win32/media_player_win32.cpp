// The MCI player. Every command goes through mciSendCommandA, and its result is kept so that
// ErrorMessage() can give the system's own text for it.
#include "platform/win32/media_player_win32.h"

#include <array>
#include <string>

#include "gfx/error.h"
#include "platform/win32/windows_header.h"

// The multimedia declarations, which the lean Windows header leaves out.
#include <mmsystem.h>

namespace {

// The system's text for an MCI result, success included where the system has one (Wine has
// none for success: then "").
std::string MciText(MCIERROR code)
{
    std::array<char, 4096> text{};
    if (mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size())) && text[0] != '\0') {
        return text.data();
    }
    return code == 0 ? std::string() : "Unknown media error " + std::to_string(code);
}

class MciMediaPlayer final : public MediaPlayer {
public:
    explicit MciMediaPlayer(HWND notifyWindow) : m_NotifyWindow(notifyWindow) {}

    ~MciMediaPlayer() override { Close(true); }

    void Open(const std::string& path, bool wait, bool notify) override
    {
        // The old device goes completely before a new one may take the same driver.
        Close(true);
        MCI_OPEN_PARMSA parameters{};
        parameters.dwCallback = notify ? reinterpret_cast<DWORD_PTR>(m_NotifyWindow) : 0;
        parameters.lpstrElementName = path.c_str();
        const DWORD flags = MCI_OPEN_ELEMENT | (wait ? MCI_WAIT : 0) | (notify ? MCI_NOTIFY : 0);
        if (Send(0, MCI_OPEN, flags, &parameters) != 0) throw Error(MciText(m_LastResult));
        m_Device = parameters.wDeviceID;
    }

    void Play() override
    {
        if (m_Device == 0) {
            m_LastResult = MCIERR_INVALID_DEVICE_ID;
            throw Error(MciText(m_LastResult));
        }
        // Back to the start first: a device that has played to its end stays there, and ignores a
        // play from position 0 (measured under Wine). A play still running is cut (aborted).
        MCI_SEEK_PARMS seek{};
        Send(m_Device, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &seek);
        MCI_PLAY_PARMS parameters{};
        parameters.dwCallback = reinterpret_cast<DWORD_PTR>(m_NotifyWindow);
        if (Send(m_Device, MCI_PLAY, MCI_NOTIFY, &parameters) != 0) throw Error(MciText(m_LastResult));
    }

    int Mode() override
    {
        if (m_Device == 0) return playermode::Stopped;
        MCI_STATUS_PARMS parameters{};
        parameters.dwItem = MCI_STATUS_MODE;
        // A device that cannot say is treated as not ready; ErrorMessage() says why.
        if (Send(m_Device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &parameters) != 0) return playermode::NotReady;
        return static_cast<int>(parameters.dwReturn) - MCI_MODE_NOT_READY;
    }

    void Close(bool wait) override
    {
        if (m_Device == 0) return;
        MCI_GENERIC_PARMS parameters{};
        Send(m_Device, MCI_CLOSE, wait ? MCI_WAIT : 0, &parameters);
        // A device that refused to close cannot be used any more either.
        m_Device = 0;
    }

    std::string ErrorMessage() override { return MciText(m_LastResult); }

private:
    template <typename Parameters>
    MCIERROR Send(MCIDEVICEID device, UINT command, DWORD flags, Parameters* parameters)
    {
        m_LastResult = mciSendCommandA(device, command, flags, reinterpret_cast<DWORD_PTR>(parameters));
        return m_LastResult;
    }

    HWND m_NotifyWindow;
    MCIDEVICEID m_Device = 0;
    MCIERROR m_LastResult = 0;
};

} // namespace

std::unique_ptr<MediaPlayer> CreateMciMediaPlayer(NativeWindow notifyWindow)
{
    return std::make_unique<MciMediaPlayer>(static_cast<HWND>(notifyWindow));
}
