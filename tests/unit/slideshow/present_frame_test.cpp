#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "gfx/error.h"
#include "gfx/raster.h"
#include "slideshow/frame_composer.h"
#include "slideshow/slideshow_window.h"
#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/pattern_bitmap.h"
#include "unit/test_support/scripted_ui_host.h"

namespace {

class PresentFrameTest : public IsolatedSettings {
protected:
    void Open(Size screen, bool fileInfo, bool counts, bool clock)
    {
        m_Host = std::make_unique<ScriptedUiHost>(screen);
        m_Window = std::make_unique<TfrmMain>(*m_Host);
        m_Window->FormCreate();
        m_Window->m_ShowCurrentFileInfo = fileInfo;
        m_Window->m_ShowAllPhotoCount = counts;
        m_Window->m_ShowDateTime = clock;
    }
    void ShowPhoto(const Bitmap& photo)
    {
        *m_Window->m_PhotoBitmap = photo;
        *m_Window->m_BackBuffer = photo;
    }
    std::vector<Point> TextPlaces() const
    {
        std::vector<Point> places;
        for (const auto& text : m_Host->Texts()) places.push_back(text.at);
        return places;
    }

    void TearDown() override
    {
        m_Window.reset();
        m_Host.reset();
        IsolatedSettings::TearDown();
    }

    std::unique_ptr<ScriptedUiHost> m_Host;
    std::unique_ptr<TfrmMain> m_Window;
};

} // namespace

TEST_F(PresentFrameTest, AllOptionsAtTenTwentyFourByDrawTheBandAndFiveLines)
{
    Open({1024, 768}, true, true, true);
    ShowPhoto(Bitmap(1024, 768, kBlack));
    m_Window->m_CurrentFile = "/p/a.jpg";
    *m_Window->m_PhotoList = {"a", "b", "c"};
    *m_Window->m_MusicList = {"m"};
    m_Window->PresentFrame();

    EXPECT_EQ(TextPlaces(), (std::vector<Point>{{61, 569}, {61, 582}, {61, 598}, {61, 611}, {61, 620}}));
    const auto& texts = m_Host->Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].text, "Current Photo File = /p/a.jpg");
    EXPECT_EQ(texts[1].text, "Current Music File = ");
    EXPECT_EQ(texts[2].text, "Total Photo Num = 3");
    EXPECT_EQ(texts[3].text, "Total Music Num = 1");
    EXPECT_TRUE(std::regex_match(texts[4].text, std::regex("([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]")));
    EXPECT_EQ(texts[0].font.face, "Ms Sans Serif");
    EXPECT_EQ(texts[0].font.points, 10);
    EXPECT_EQ(texts[4].font.face, "Arial");
    EXPECT_EQ(texts[4].font.points, 36);

    // The band veils the black photo from (51, 568) to (971, 667).
    const Bitmap& frame = m_Host->LastFrame();
    for (const auto& [x, y, colour] : {std::tuple{51, 568, 0x5A5A5Au}, {971, 667, 0x5A5A5Au}, {50, 568, 0u},
                                       {972, 600, 0u}, {51, 567, 0u}, {51, 668, 0u}})
        EXPECT_EQ(frame.At(x, y), colour) << x << "," << y;
    EXPECT_TRUE(m_Window->m_ListLock->try_lock());
    m_Window->m_ListLock->unlock();
}

TEST_F(PresentFrameTest, OnlyTheClockStandsFiftyTwoBelowTheBandsTopAtFullHd)
{
    Open({1920, 1080}, false, false, true);
    ShowPhoto(Bitmap(1920, 1080, kBlack));
    m_Window->PresentFrame();
    EXPECT_EQ(TextPlaces(), (std::vector<Point>{{106, 932}}));
    EXPECT_EQ(m_Host->LastFrame().At(96, 880), 0x5A5A5Au);
    EXPECT_EQ(m_Host->LastFrame().At(1823, 979), 0x5A5A5Au);
    EXPECT_EQ(m_Host->LastFrame().At(1824, 979), 0u);
}

TEST_F(PresentFrameTest, AllOptionsOffGiveTheCentredPhotoOnBlackAlone)
{
    Open({1024, 768}, false, false, false);
    const Bitmap photo = MakePattern(101, 51, 7);
    ShowPhoto(photo);
    m_Window->PresentFrame();
    EXPECT_TRUE(m_Host->Texts().empty());
    // Margins 461 left, 462 right, 358 top, 359 bottom.
    Bitmap expected(1024, 768, kBlack);
    CopyBlock(expected, Rect{461, 358, 101, 51}, photo, Point{0, 0});
    EXPECT_EQ(m_Host->LastFrame(), expected);
}

TEST_F(PresentFrameTest, TheShownScreenFollowsEveryFrameThroughChangedRectangles)
{
    Open({320, 240}, true, true, false);
    ShowPhoto(MakePattern(300, 200, 1));
    Bitmap shown(320, 240, 0x424242);
    using Step = std::function<void(TfrmMain&)>;
    const std::pair<const char*, Step> steps[] = {
        {"first", [](TfrmMain&) {}},
        {"standing", [](TfrmMain&) {}},
        {"back buffer above the band", [](TfrmMain& w) { w.m_BackBuffer->At(5, 5) = 0xFF; }},
        {"back buffer under the band", [](TfrmMain& w) { w.m_BackBuffer->At(150, 190) = 0xFF00; }},
        {"a photo found", [](TfrmMain& w) { w.m_PhotoList->push_back("x"); }},
        {"a new track", [](TfrmMain& w) { w.m_CurrentMusicFile = "/m/b.mp3"; }},
        {"smaller photo", [](TfrmMain& w) {
             *w.m_PhotoBitmap = Bitmap(99, 45);
             *w.m_BackBuffer = MakePattern(99, 45, 2);
         }},
        {"band released", [](TfrmMain& w) { w.m_InfoBitmap.reset(); }},
    };
    std::size_t textsBefore = 0;
    for (const auto& [name, change] : steps) {
        change(*m_Window);
        const int presentsBefore = m_Host->PresentCount();
        m_Window->PresentFrame();
        const Rect changed = m_Host->LastChange().value_or(m_Host->LastFrame().Bounds());
        CopyBlock(shown, changed, m_Host->LastFrame(), Point{changed.x, changed.y});

        Bitmap expected(320, 240);
        const Point at = CentredAt({320, 240}, m_Window->m_PhotoBitmap->GetSize());
        const Rect band = m_Window->m_InfoBitmap ? Rect{16, 40, 288, 100} : Rect{};
        ComposeFrame(expected, FrameLayout{m_Window->m_BackBuffer.get(), at, true, m_Window->m_InfoBitmap.get(), band},
                     {}, [](Bitmap&, const OverlayLine&) {});
        ASSERT_EQ(shown, expected) << name;
        if (std::string_view(name) == "standing") {
            EXPECT_EQ(m_Host->PresentCount(), presentsBefore);
            EXPECT_EQ(m_Host->Texts().size(), textsBefore);
        }
        textsBefore = m_Host->Texts().size();
    }
    EXPECT_EQ(m_Host->Texts().back().text, "Total Music Num = 0");
    EXPECT_EQ(m_Host->Texts()[m_Host->Texts().size() - 2].text, "Total Photo Num = 1");
}

TEST_F(PresentFrameTest, ReleasedBitmapsAreSkippedWithoutACrash)
{
    Open({640, 480}, true, true, true);
    ShowPhoto(MakePattern(640, 480, 3));
    m_Window->m_BackBuffer.reset();
    m_Window->PresentFrame();
    EXPECT_EQ(m_Host->LastFrame().At(0, 0), kBlack);
    EXPECT_EQ(m_Host->Texts().size(), 5u);

    m_Window->FormClose();
    const int presents = m_Host->PresentCount();
    m_Window->PresentFrame();
    EXPECT_EQ(m_Host->PresentCount(), presents);
}

namespace {
// Text drawing fails for every line, with an error of the OS's or of the standard library.
template <typename Failure>
class FailingTextHost : public ScriptedUiHost {
public:
    using ScriptedUiHost::ScriptedUiHost;
    void DrawText(Bitmap&, const TextFont&, Point, std::string_view) override { throw Failure("no text today"); }
};
} // namespace

TEST_F(PresentFrameTest, LinesThatCannotBeDrawnAreLeftOutAndTheFrameIsShown)
{
    const auto present = [this](std::unique_ptr<ScriptedUiHost> host) {
        m_Host = std::move(host);
        m_Window = std::make_unique<TfrmMain>(*m_Host);
        m_Window->FormCreate();
        ShowPhoto(MakePattern(320, 240, 5));
        EXPECT_NO_THROW(m_Window->PresentFrame());
        EXPECT_EQ(m_Host->PresentCount(), 1);
        EXPECT_EQ(m_Host->LastFrame().At(0, 0), MakePattern(320, 240, 5).At(0, 0));
        m_Window.reset();
    };
    present(std::make_unique<FailingTextHost<Error>>(Size{320, 240}));
    present(std::make_unique<FailingTextHost<std::runtime_error>>(Size{320, 240}));
}
