// Background music: the slide timer starts a track when none is playing or when Ctrl with an
// arrow asked for another; the player's notification marks the end of a track.
#include <exception>

#include "app/log_trace.h"
#include "slideshow/history_ring.h"
#include "slideshow/slideshow_window.h"

void TfrmMain::SetUpMediaPlayer()
{
    m_PlayerWait = false;
    m_PlayerNotify = true;
}

void TfrmMain::PlayMusic()
{
    // After FormClose the lists and their lock are gone: there is nothing left to play, whoever
    // still calls.
    if (!m_MediaPlayer || !m_ListLock || !m_MusicList) return;
    std::string path;
    {
        const std::lock_guard lock(*m_ListLock);
        const auto count = static_cast<std::int32_t>(m_MusicList->size());
        if (count == 0) return;
        if (m_MusicPlaying && m_MusicNavRequest == 0) return;
        ClosePlayer();
        m_MusicIndex = ChooseNextIndex(m_MusicHistory, m_MusicHistoryPos, m_MusicIndex, m_MusicNavRequest, count,
                                       m_DisableMusicRandom);
        path = (*m_MusicList)[static_cast<std::size_t>(m_MusicIndex)];
    }
    m_CurrentMusicFile = path;
    LogTrace("PlayMusic begin...");
    LogTrace("music file=" + path);
    try {
        OpenPlayer(path);
        m_MediaPlayer->Play();
        m_MusicPlaying = true;
    } catch (const std::exception&) {
        // A file the player cannot play is skipped quietly: the next tick tries another. The
        // track before it may have been closed for it, and a closed device does not always
        // notify, so nothing is left playing.
        m_MusicPlaying = false;
    }
}

void TfrmMain::m_MediaPlayerNotify()
{
    if (!m_MediaPlayer) return;
    m_PlayerWait = true;
    if (m_MediaPlayer->Mode() != playermode::Playing) m_MusicPlaying = false;
    LogTrace("Play music notify...");
    const std::string error = m_MediaPlayer->ErrorMessage();
    LogTrace("m_MediaPlayer->Mode=" + std::to_string(m_MediaPlayer->Mode()) + ".error_msg=" + error);
}

void TfrmMain::OpenPlayer(const std::string& path)
{
    const bool wait = m_PlayerWait;
    const bool notify = m_PlayerNotify;
    m_PlayerWait = true;
    m_PlayerNotify = false;
    m_DeviceOpen = false; // an open closes what was open before, and a failed one opens nothing
    m_MediaPlayer->Open(path, wait, notify);
    m_DeviceOpen = true;
}

void TfrmMain::ClosePlayer()
{
    // Closing nothing is no command: the options stay for the first open.
    if (!m_DeviceOpen) return;
    const bool wait = m_PlayerWait;
    m_PlayerWait = true;
    m_PlayerNotify = false;
    m_DeviceOpen = false;
    m_MediaPlayer->Close(wait);
}
