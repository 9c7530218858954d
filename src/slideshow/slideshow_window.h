#pragma once
// The full-screen slide-show window: its state, its handlers and the slide step. The UI host
// turns the OS's events into the handlers below; everything runs on the UI thread but the
// scanner, which appends to the photo and music lists under m_ListLock.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "gfx/bitmap.h"
#include "media/get_photo.h"
#include "media/string_list.h"
#include "platform/clock.h"
#include "platform/media_player.h"
#include "platform/saver_system.h"
#include "platform/ui_host.h"
#include "slideshow/effect_host.h"
#include "slideshow/history_ring.h"
#include "slideshow/photo_load.h"
#include "slideshow/frame_composer.h"

class TfrmMain final : public UiEvents, public EffectHost {
public:
    static constexpr int kTimer1Id = 1;
    static constexpr int kTimer2Id = 2;
    static constexpr int kHistorySize = 100;
    static constexpr int kNavigationInterval = 500;

    // Construction: start values, the lists, the lock and the bitmaps; seeds the generator.
    explicit TfrmMain(UiHost& host);
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;
    ~TfrmMain();

    // FormCreate (an error in it is shown in the standard error box), then the window itself.
    void Open();

    // The handlers.
    void FormCreate();
    void FormKeyDown(int key, ShiftState shift);
    void FormMouseDown(MouseButton button, Point at);
    void FormMouseMove(Point at);
    bool FormCloseQuery();
    void FormClose();
    void paintBoxPaint();
    void Timer1Timer();
    void Timer2Timer();
    // The window took a new size (only a window that is not ours does): the standing frame is
    // composed again at once for it, and the next photo is fitted to it.
    void FormResize();

    // The slide step and the operations its animations share.
    void DrawScreen();
    void AnimationStarts() override { m_AnimationStart.reset(); }
    bool WaitStep() override;
    void PresentFrame() override;
    void PresentStep(bool lastStep) override;
    void FadeOutPhoto();
    // Loads and fits the step's photo on a worker while the window is answered; an empty
    // picture when a close came first. Throws what the load threw.
    Bitmap LoadPhoto(const std::string& path, ImageFormat format);
    // How LoadPhoto's worker reads a file; tests hand in their own.
    PhotoLoader m_LoadPhoto = LoadPhotoFile;

    // Background music. The player is set up by FormCreate: its first open neither waits nor
    // goes without a notification.
    void SetUpMediaPlayer();
    void PlayMusic();
    void m_MediaPlayerNotify();

    // UiEvents: each forwards to its handler.
    void KeyDown(int key, ShiftState shift) override { FormKeyDown(key, shift); }
    void MouseDown(MouseButton button, Point at) override { FormMouseDown(button, at); }
    void MouseMove(Point at) override { FormMouseMove(at); }
    void Paint() override { paintBoxPaint(); }
    bool CloseQuery() override { return FormCloseQuery(); }
    void Closed() override { FormClose(); }
    void TimerTick(int timerId) override;
    void MediaNotify(unsigned) override { m_MediaPlayerNotify(); }
    void Resized() override { FormResize(); }

    // The window's size: the screen's, once FormCreate has set it.
    Size ClientSize() const { return m_ClientSize; }
    void SetClientSize(Size size) { m_ClientSize = size; }
    bool TopMost() const { return m_TopMost; }

    // The local time the clock shows; tests set their own.
    std::function<LocalDateTime()> m_LocalTime = CurrentLocalDateTime;

    // The designed components.
    UiHost& m_Host;
    UiTimer Timer1;
    UiTimer Timer2;
    // None when the host has no sound to offer: the show then runs without music.
    std::unique_ptr<MediaPlayer> m_MediaPlayer;

    // The window's state, in declaration order. Bitmaps, lists, the lock and the scanner are
    // released by FormClose; a released one is null, so a use after release cannot go unseen.
    std::int32_t m_UsePassword = 1;
    std::int32_t m_Interval = 1000;
    bool m_ShowDateTime = true;
    bool m_ShowCurrentFileInfo = true;
    bool m_ShowAllPhotoCount = true;
    bool m_DisableRandom = false;
    bool m_DisableMusicRandom = false;
    bool m_EnableMusic = true;
    bool m_MusicPlaying = false;
    std::int32_t m_PhotoIndex = 0;
    std::int32_t m_MusicIndex = 0;
    PlatformVersion m_OsVersion;
    bool m_Closing = false;
    bool m_Drawing = false;
    std::string m_CurrentFile;
    std::string m_CurrentMusicFile;
    bool m_FadeOutLastPhoto = false;
    std::unique_ptr<Bitmap> m_PhotoBitmap;
    std::unique_ptr<Bitmap> m_ScreenBitmap;
    std::unique_ptr<Bitmap> m_BackBuffer;
    std::unique_ptr<Bitmap> m_InfoBitmap;
    std::unique_ptr<StringList> m_DirList;
    std::unique_ptr<StringList> m_PhotoList;
    std::unique_ptr<StringList> m_MusicList;
    HistoryRing m_History{};
    std::int32_t m_HistoryPos = -1;
    std::int32_t m_NavRequest = 0;
    HistoryRing m_MusicHistory{};
    std::int32_t m_MusicHistoryPos = 0;
    std::int32_t m_MusicNavRequest = 0;
    std::unique_ptr<std::mutex> m_ListLock;
    std::unique_ptr<TGetPhoto> m_GetPhotoThread;

private:
    // The player's options for its next open or close: set not to wait and to notify for the
    // first open, then waiting without notification.
    void OpenPlayer(const std::string& path);
    void ClosePlayer();
    bool m_PlayerWait = true;
    bool m_PlayerNotify = false;
    bool m_DeviceOpen = false;

    // Starts the lists with what earlier shows found under directories, hands the scanner the
    // place its walk carries on from, and has it remember what it finds.
    void RememberLibrary(const std::string& directories);
    bool IsNtFamily() const { return m_OsVersion.platformId == kPlatformNt; }
    // Chooses the next photo under the lock; false when the list is empty.
    bool ChooseNextPhoto(std::string& path);

    Size m_ClientSize;
    bool m_TopMost = false;
    // The pace of the running animation: step k's wait ends k waits' lengths after its first
    // wait began, so that the work of a step counts toward its wait.
    std::optional<std::int64_t> m_AnimationStart;
    std::int64_t m_AnimationWaits = 0;
    // PresentFrame, taking the picture as it was composed last when pictureUnchanged.
    void ComposeAndPresent(bool pictureUnchanged);
    // The last composition took the picture as it stands between slides: until the next slide
    // step draws, only the overlay's lines can change.
    bool m_StandingPictureComposed = false;
    // When PresentFrame last composed and showed a frame.
    std::optional<std::int64_t> m_LastPresentMs;
    // What PresentFrame composed last, so that the next frame redoes only what changed.
    FrameComposer m_FrameComposer;
};

// The one slide-show window of the process, while it exists.
extern TfrmMain* frmMain;
