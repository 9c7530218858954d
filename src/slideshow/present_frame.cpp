#include "slideshow/slideshow_window.h"

#include <exception>

#include "platform/clock.h"
#include "slideshow/info_overlay.h"

void TfrmMain::PresentFrame()
{
    ComposeAndPresent(false);
}

void TfrmMain::ComposeAndPresent(bool pictureUnchanged)
{
    // Before FormCreate sized it, or after FormClose released it, there is nothing to show.
    if (!m_ScreenBitmap || m_ScreenBitmap->IsEmpty()) return;
    Bitmap& screen = *m_ScreenBitmap;
    m_LastPresentMs = m_Host.MonotonicMs();
    const Size client = ClientSize();
    const OverlayOptions options{m_ShowCurrentFileInfo, m_ShowAllPhotoCount, m_ShowDateTime};
    const Rect band = InfoBandArea(client, m_InfoBitmap ? m_InfoBitmap->GetSize() : InfoBitmapSize(client.width));

    FrameLayout layout;
    if (m_BackBuffer && m_PhotoBitmap) {
        layout.picture = m_BackBuffer.get();
        layout.pictureAt = CentredAt(client, m_PhotoBitmap->GetSize());
    }
    layout.overlay = options.Any();
    layout.band = m_InfoBitmap.get();
    layout.bandArea = band;
    layout.pictureUnchanged = pictureUnchanged;

    // The scanner waits on the lock from the reading of the photo count until the music count
    // has been drawn (or found unchanged), not while the picture is composed.
    std::unique_lock<std::mutex> listLock;
    const auto lines = [&] {
        OverlayValues values{m_CurrentFile, m_CurrentMusicFile, 0, 0, {}};
        if (options.dateTime) {
            const LocalDateTime now = m_LocalTime();
            values.clock = FormatClock(now.hour, now.minute, now.second, TimeSeparator());
        }
        if (options.allPhotoCount) {
            if (m_ListLock) listLock = std::unique_lock<std::mutex>(*m_ListLock);
            values.photoCount = m_PhotoList ? m_PhotoList->size() : 0;
            values.musicCount = m_MusicList ? m_MusicList->size() : 0;
        }
        return OverlayLines(Point{band.x, band.y}, options, values);
    };
    const auto paint = [&](Bitmap& frame, const OverlayLine& line) {
        try {
            m_Host.DrawText(frame, TextFont{line.face, line.points}, line.at, line.text);
        } catch (const std::exception&) {
            // A line the OS cannot draw (no such font) is left out; the frame is still shown.
        }
        if (line.kind == OverlayLineKind::MusicCount && listLock.owns_lock()) listLock.unlock();
    };
    const Rect changed = m_FrameComposer.Compose(screen, layout, lines, paint);
    if (listLock.owns_lock()) listLock.unlock();
    // A frame in which nothing changed costs the screen nothing either.
    if (!changed.IsEmpty()) m_Host.Present(screen, changed);
}
