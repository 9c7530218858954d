#include "slideshow/slideshow_window.h"

#include <exception>

#include "app/log_trace.h"
#include "app/random_generator.h"
#include "media/library_cache.h"
#include "platform/message_box.h"
#include "platform/program_file.h"
#include "platform/text.h"
#include "settings/saver_settings.h"
#include "slideshow/info_overlay.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr int kDesignedInterval = 5000;
constexpr int kOverlayInterval = 100;
constexpr int kMinInterval = 1000;
constexpr int kBandHeight = 100;

bool IsArrowBack(int key) { return key == vk::Left || key == vk::Up; }
bool IsArrowForward(int key) { return key == vk::Right || key == vk::Down; }

} // namespace

TfrmMain::TfrmMain(UiHost& host)
    : m_Host(host),
      Timer1(host, kTimer1Id, kDesignedInterval, true),
      Timer2(host, kTimer2Id, kOverlayInterval, false),
      m_MediaPlayer(host.CreateMediaPlayer()),
      m_PhotoBitmap(std::make_unique<Bitmap>()),
      m_ScreenBitmap(std::make_unique<Bitmap>(0, 0, kBlack)),
      m_BackBuffer(std::make_unique<Bitmap>(0, 0, kBlack)),
      m_DirList(std::make_unique<StringList>()),
      m_PhotoList(std::make_unique<StringList>()),
      m_MusicList(std::make_unique<StringList>()),
      m_ListLock(std::make_unique<std::mutex>())
{
    m_History.fill(-1);
    m_MusicHistory.fill(-1);
    Randomize();
    frmMain = this;
}

TfrmMain::~TfrmMain()
{
    // A window destroyed without its close (an error before the loop) still stops its scanner
    // before the lists it writes go.
    if (m_GetPhotoThread) {
        m_GetPhotoThread->Terminate();
        m_GetPhotoThread->WaitFor();
    }
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::Open()
{
    try {
        FormCreate();
    } catch (const std::exception& error) {
        ShowErrorBox(error.what());
    }
    m_Host.OpenFullScreenWindow(*this, m_TopMost);
}

void TfrmMain::FormCreate()
{
    // Run as the installed saver file it stays above every other window; as its .exe it does not.
    m_TopMost = AnsiUpperCase(ExtractFileExt(ExtractFileName(ProgramFilePath()))) != ".EXE";

    SetClientSize(m_Host.ScreenSize());
    m_ScreenBitmap->SetSize(m_ClientSize.width, m_ClientSize.height);
    m_InfoBitmap = std::make_unique<Bitmap>(static_cast<int>(m_ClientSize.width * 0.9), kBandHeight, kWhite);
    m_OsVersion = GetPlatformVersion();

    RegistryObject registry;
    if (!IsNtFamily()) {
        registry.SetRootKey(RegistryRoot::CurrentUser);
        registry.OpenKey(kDesktopKeyPath, false);
        m_UsePassword = registry.ReadInteger("ScreenSaveUsePassword");
        registry.CloseKey();
        if (m_UsePassword != 0) SetScreenSaverRunning(true);
    }

    OpenSettingsKey(registry);
    const std::string directories = registry.ReadString("PhotoDirectorys");

    m_GetPhotoThread = std::make_unique<TGetPhoto>(*m_DirList, *m_PhotoList, *m_MusicList, *m_ListLock, m_Host);
    m_GetPhotoThread->SetPriorityAboveNormal();
    m_GetPhotoThread->m_Directories = directories;
    RememberLibrary(directories);
    m_GetPhotoThread->Resume();

    m_Interval = registry.ReadInteger("ChangeInterval");
    if (m_Interval <= kMinInterval) m_Interval = kMinInterval;
    Timer1.SetInterval(m_Interval);
    m_ShowCurrentFileInfo = registry.ReadInteger("ShowCurrentFileInfo") != 0;
    m_ShowDateTime = registry.ReadInteger("ShowDateTime") != 0;
    m_DisableRandom = registry.ReadInteger("DisableRandom") != 0;
    m_ShowAllPhotoCount = registry.ReadInteger("ShowAllPhotoCount") != 0;
    m_FadeOutLastPhoto = registry.ReadInteger("FadeOutLastPhoto") != 0;
    m_EnableMusic = registry.ReadInteger("EnableMusic") != 0;
    m_DisableMusicRandom = registry.ReadInteger("DisableMusicRandom") != 0;

    SetUpMediaPlayer();
    m_MusicPlaying = false;
}

void TfrmMain::RememberLibrary(const std::string& directories)
{
    // Nothing configured, nothing to remember: no cache file is made for it.
    if (directories.empty()) return;
    // Read before the scanner starts, so that the first slide may come from all of it.
    RememberedLibrary library = LoadRememberedLibrary(directories);
    LogTrace("remembered photos=" + std::to_string(library.photos.size()) +
             " music=" + std::to_string(library.music.size()) +
             " walked folders=" + std::to_string(library.walkedFolders.size()));
    *m_PhotoList = std::move(library.photos);
    *m_MusicList = std::move(library.music);
    m_GetPhotoThread->m_WalkedFolders = std::move(library.walkedFolders);
    m_GetPhotoThread->m_Remember = [directories](const StringList& photos, const StringList& music,
                                                 const StringList& walkedFolders) {
        SaveRememberedLibrary(directories, photos, music, walkedFolders);
    };
}

void TfrmMain::FormKeyDown(int key, ShiftState shift)
{
    const bool back = IsArrowBack(key);
    const bool forward = IsArrowForward(key);
    if (shift.ctrl) {
        if (back) m_MusicNavRequest = -1;
        if (forward) m_MusicNavRequest = +1;
        return;
    }
    if (back) {
        m_NavRequest = -1;
    } else if (forward) {
        m_NavRequest = +1;
    } else {
        m_Host.RequestClose();
    }
}

void TfrmMain::FormMouseDown(MouseButton, Point)
{
    m_Host.RequestClose();
}

void TfrmMain::FormMouseMove(Point)
{
    // Moving the mouse never ends the show.
}

bool TfrmMain::FormCloseQuery()
{
    m_Closing = true;
    if (IsNtFamily() || m_UsePassword == 0) return true;
    if (VerifyScreenSaverPassword(m_Host.Window())) return true;
    m_Closing = false;
    return false;
}

void TfrmMain::FormClose()
{
    m_PhotoBitmap.reset();
    m_ScreenBitmap.reset();
    m_BackBuffer.reset();
    if (m_GetPhotoThread) {
        m_GetPhotoThread->Terminate();
        m_GetPhotoThread->WaitFor();
    }
    if (m_DirList) m_DirList->clear();
    m_DirList.reset();
    if (m_PhotoList) m_PhotoList->clear();
    if (m_MusicList) m_MusicList->clear();
    m_PhotoList.reset();
    m_MusicList.reset();
    m_ListLock.reset();
    m_GetPhotoThread.reset();
    m_InfoBitmap.reset();
    if (!IsNtFamily() && m_UsePassword != 0) SetScreenSaverRunning(false);
}

void TfrmMain::paintBoxPaint()
{
    if (m_Closing || m_Drawing) return;
    LogTrace("paintBoxPaint trigged~");
    m_Drawing = true;
    // The slide step draws into the picture, after its last frame too.
    m_StandingPictureComposed = false;
    try {
        DrawScreen();
    } catch (...) {
        m_Drawing = false;
        throw;
    }
    m_Drawing = false;
}

void TfrmMain::Timer1Timer()
{
    Timer2.SetEnabled(false);
    LogTrace("Timer1Timer trigged~");
    if (m_EnableMusic) PlayMusic();
    paintBoxPaint();
}

void TfrmMain::Timer2Timer()
{
    if (m_Closing || m_Drawing) return;
    // Between slides nothing draws into the picture: once it has been composed as it stands,
    // the ticks look at the overlay's lines alone.
    ComposeAndPresent(m_StandingPictureComposed);
    m_StandingPictureComposed = true;
}

void TfrmMain::FormResize()
{
    // After FormClose the bitmaps are gone; before FormCreate there is nothing standing.
    if (m_Closing || !m_ScreenBitmap || !m_InfoBitmap) return;
    const Size client = m_Host.ScreenSize();
    if (client == m_ClientSize) return;
    SetClientSize(client);
    m_ScreenBitmap->SetSize(client.width, client.height);
    const Size band = InfoBitmapSize(client.width);
    m_InfoBitmap = std::make_unique<Bitmap>(band.width, band.height, kWhite);
    m_FrameComposer.Reset();
    // A slide step in progress presents its next step at the new size by itself.
    if (!m_Drawing) PresentFrame();
}

void TfrmMain::TimerTick(int timerId)
{
    if (timerId == kTimer1Id) {
        Timer1Timer();
    } else if (timerId == kTimer2Id) {
        Timer2Timer();
    }
}
