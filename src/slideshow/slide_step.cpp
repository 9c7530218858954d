// One slide step: choose the next photo, fade the old one, load and fit the new one, run a
// transition, re-arm the timers.
#include <algorithm>
#include <exception>
#include <new>

#include "app/log_trace.h"
#include "app/random_generator.h"
#include "gfx/image/image_file.h"
#include "platform/text.h"
#include "slideshow/fade_out.h"
#include "slideshow/fit_size.h"
#include "slideshow/history_ring.h"
#include "slideshow/photo_load.h"
#include "slideshow/slideshow_window.h"
#include "slideshow/transitions.h"

namespace {
constexpr int kWaitStepMs = 5;
}

bool TfrmMain::ChooseNextPhoto(std::string& path)
{
    // After FormClose the list and its lock are gone.
    if (!m_ListLock || !m_PhotoList) return false;
    const std::lock_guard lock(*m_ListLock);
    const auto count = static_cast<std::int32_t>(m_PhotoList->size());
    if (count == 0) return false;
    m_PhotoIndex = ChooseNextIndex(m_History, m_HistoryPos, m_PhotoIndex, m_NavRequest, count, m_DisableRandom);
    path = (*m_PhotoList)[static_cast<std::size_t>(m_PhotoIndex)];
    return true;
}

void TfrmMain::DrawScreen()
{
    LogTrace("DrawScreen begin...");
    std::string path;
    if (!ChooseNextPhoto(path)) return;
    m_CurrentFile = path;
    LogTrace("pic file=" + path);
    const std::string extension = AnsiUpperCase(ExtractFileExt(path));

    try {
        if (m_FadeOutLastPhoto) FadeOutPhoto();
        // A close inside the fade's waits has released the bitmaps: nothing more to draw.
        if (m_Closing) return;

        if (extension == ".JPEG" || extension == ".JPG" || extension == ".BMP") {
            // The slide timer's ticks would only find this step running; it is re-armed at the
            // step's end, and no tick or other handler may draw from the generator meanwhile.
            Timer1.SetEnabled(false);
            Bitmap photo = LoadPhoto(path, extension == ".BMP" ? ImageFormat::Bmp : ImageFormat::Jpeg);
            // The load was abandoned for the close, which has released the bitmaps.
            if (m_Closing) return;
            *m_PhotoBitmap = std::move(photo);
        }
        m_BackBuffer->SetWidth(m_PhotoBitmap->Width());
        m_BackBuffer->SetHeight(m_PhotoBitmap->Height());
        Timer1.SetEnabled(false);
        const int effect = RandomDraw() % static_cast<int>(TransitionEffects::kEffectCount);
        LogTrace("effect style=" + std::to_string(effect));
        TransitionEffects(*this, *m_PhotoBitmap, *m_BackBuffer).RunEffect(static_cast<unsigned>(effect));
    } catch (const std::exception&) {
        // A file that cannot be read or decoded is skipped quietly; it stays in the lists.
    }
    // The window closed inside the transition: its timers and bitmaps are gone with it.
    if (m_Closing) return;

    Timer1.SetInterval(m_NavRequest != 0 ? kNavigationInterval : m_Interval);
    Timer1.SetEnabled(true);
    LogTrace("DrawScreen end...");
    Timer2.SetEnabled(true);
}

Bitmap TfrmMain::LoadPhoto(const std::string& path, ImageFormat format)
{
    const Size screen = m_ClientSize;
    PhotoLoad load(m_LoadPhoto, path, format, [screen](Size image) { return FitSize(image, screen); });
    // Keys, clicks and paints are answered while the worker decodes; a close stops it.
    m_Host.DispatchUntil([&load, this] { return load.Finished() || m_Closing; });
    if (m_Closing) return {};
    return load.Take();
}

bool TfrmMain::WaitStep()
{
    const std::int64_t now = m_Host.MonotonicMs();
    if (!m_AnimationStart) {
        m_AnimationStart = now;
        m_AnimationWaits = 0;
    }
    ++m_AnimationWaits;
    // Never longer than one wait: a step that fell behind its deadline gets no wait at all,
    // though it still dispatches what has come.
    const std::int64_t deadline = *m_AnimationStart + m_AnimationWaits * kWaitStepMs;
    m_Host.WaitAndDispatch(static_cast<int>(std::clamp<std::int64_t>(deadline - now, 0, kWaitStepMs)));
    return !m_Closing && m_NavRequest == 0;
}

void TfrmMain::PresentStep(bool lastStep)
{
    // Every step has been drawn, as the next builds on it; a frame that would come before the
    // screen's next refresh is neither composed nor shown, but for the one the animation ends on.
    if (!lastStep && m_LastPresentMs) {
        const double rate = m_Host.RefreshRate();
        const double elapsed = static_cast<double>(m_Host.MonotonicMs() - *m_LastPresentMs);
        if (elapsed * (rate >= 1.0 ? rate : UiHost::kDefaultRefreshRate) < 1000.0) return;
    }
    PresentFrame();
}

void TfrmMain::FadeOutPhoto()
{
    ::FadeOutPhoto(*this, *m_PhotoBitmap, *m_BackBuffer);
}
