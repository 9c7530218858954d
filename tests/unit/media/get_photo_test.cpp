// The scanner on real folders: what it collects, in which order it walks and traces, and how
// it stops.
#include "media/get_photo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <filesystem>
#include <thread>

#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/scanner_window.h"
#include "unit/test_support/temporary_tree.h"
#include "unit/test_support/trace_capture.h"
#include "unit/test_support/quiet_ui_events.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void Scan(ScannerWindow& window, const std::string& directories)
{
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.SetPriorityAboveNormal();
    scanner.m_Directories = directories;
    scanner.Resume();
    scanner.WaitFor();
}

StringList Sorted(StringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// The scanner's own trace lines, in order.
StringList ScannerMessages(const StringList& messages)
{
    StringList own;
    for (const std::string& message : messages) {
        if (message.starts_with("pic dir=") || message.starts_with("find pic file:") ||
            message.starts_with("find music file:")) {
            own.push_back(message);
        }
    }
    return own;
}

bool WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
}

using NullForm = QuietUiEvents;

} // namespace

TEST(TGetPhoto, WalksEachDirectoryAndTracesTheLastOneBeforeItsWalk)
{
    TemporaryTree tree;
    tree.File("A/a.jpg");
    tree.File("B/b.mp3");
    tree.File("C/c.bmp");
    const std::string a = tree.Path("A"), b = tree.Path("B"), c = tree.Path("C");
    ScannerWindow window;

    TraceCapture trace;
    Scan(window, a + "|" + b + "|" + c);
    const StringList messages = ScannerMessages(trace.Stop());

    EXPECT_EQ(messages, (StringList{"find pic file:" + JoinPath(a, "a.jpg"), "pic dir=" + a,
                                    "find music file:" + JoinPath(b, "b.mp3"), "pic dir=" + b, "pic dir=" + c,
                                    "find pic file:" + JoinPath(c, "c.bmp")}));
    EXPECT_EQ(window.dirs, (StringList{a, b, c}));
    EXPECT_EQ(window.photos, (StringList{JoinPath(a, "a.jpg"), JoinPath(c, "c.bmp")}));
    EXPECT_EQ(window.music, (StringList{JoinPath(b, "b.mp3")}));
    EXPECT_TRUE(window.host.MessageBoxes().empty());
}

TEST(TGetPhoto, SkipsEmptyEntriesAndKeepsRepeatedOnes)
{
    TemporaryTree tree;
    tree.File("A/a.jpg");
    const std::string a = tree.Path("A");
    ScannerWindow window;

    TraceCapture trace;
    Scan(window, "|" + a + "||" + a + "|");
    const StringList messages = ScannerMessages(trace.Stop());

    EXPECT_EQ(window.dirs, (StringList{a, a}));
    EXPECT_EQ(window.photos, (StringList{JoinPath(a, "a.jpg"), JoinPath(a, "a.jpg")}));
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "pic dir=" + a), 2);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "pic dir="), 0);
}

TEST(TGetPhoto, CollectsByExtensionAndWalksIntoEveryFolder)
{
    TemporaryTree tree;
    for (const char* name : {"HOLIDAY.JPG", "a.b.bmp", ".jpg", "photo.png", "photo.jpeg", "x.wav", "jpg", "song.MP3",
                             "album.jpg/inner.bmp", "album.jpg/deeper/tune.mid"}) {
        tree.File(name);
    }
    tree.Directory("empty.mp3");
    const std::string root = tree.Root();
    ScannerWindow window;

    Scan(window, root);

    EXPECT_EQ(Sorted(window.photos),
              Sorted({JoinPath(root, "HOLIDAY.JPG"), JoinPath(root, "a.b.bmp"), JoinPath(root, ".jpg"),
                      JoinPath(JoinPath(root, "album.jpg"), "inner.bmp")}));
    EXPECT_EQ(Sorted(window.music), Sorted({JoinPath(root, "song.MP3"),
                                            JoinPath(JoinPath(JoinPath(root, "album.jpg"), "deeper"), "tune.mid")}));
}

TEST(TGetPhoto, ATrailingDelimiterIsKeptInTheListAndTraceButNotDoubledInPaths)
{
    TemporaryTree tree;
    tree.File("A/a.jpg");
    tree.File("B/b.jpg");
    const std::string a = tree.Path("A") + PathDelimiter();
    const std::string b = tree.Path("B") + PathDelimiter();
    ScannerWindow window;

    TraceCapture trace;
    Scan(window, a + "|" + b);
    const StringList messages = ScannerMessages(trace.Stop());

    EXPECT_EQ(window.dirs, (StringList{a, b}));
    EXPECT_EQ(window.photos, (StringList{tree.Path("A") + PathDelimiter() + "a.jpg", b + "b.jpg"}));
    EXPECT_EQ(messages, (StringList{"find pic file:" + a + "a.jpg", "pic dir=" + a, "pic dir=" + b,
                                    "find pic file:" + b + "b.jpg"}));
}

TEST(TGetPhoto, ALinkBackIntoTheWalkIsNotEnteredAgainButOtherLinksAre)
{
    TemporaryTree tree;
    tree.File("a.jpg");
    tree.File("sub/b.jpg");
    tree.File("other/c.jpg");
    if (!tree.DirectoryLink("sub/loop", ".") || !tree.DirectoryLink("sub/to_other", "other")) {
        GTEST_SKIP() << "no folder links here";
    }
    const std::string root = tree.Root();
    const std::string sub = JoinPath(root, "sub");
    ScannerWindow window;

    Scan(window, root);

    EXPECT_EQ(Sorted(window.photos), Sorted({JoinPath(root, "a.jpg"), JoinPath(sub, "b.jpg"),
                                             JoinPath(JoinPath(root, "other"), "c.jpg"),
                                             JoinPath(JoinPath(sub, "to_other"), "c.jpg")}));
}

TEST(TGetPhoto, SkipsAFolderItCannotReadAndGoesOn)
{
    TemporaryTree tree;
    tree.File("closed/hidden.jpg");
    tree.File("open/seen.jpg");
    std::filesystem::permissions(tree.Native("closed"), std::filesystem::perms::none);
    std::error_code refused;
    std::filesystem::directory_iterator probe(tree.Native("closed"), refused);
    if (!refused) GTEST_SKIP() << "permissions do not bite here (running as root?)";
    const std::string root = tree.Root();
    ScannerWindow window;

    Scan(window, root + "|" + tree.Path("closed"));

    EXPECT_EQ(window.photos, (StringList{JoinPath(JoinPath(root, "open"), "seen.jpg")}));
    EXPECT_EQ(window.dirs, (StringList{root, tree.Path("closed")}));
    EXPECT_TRUE(window.host.MessageBoxes().empty());
}

TEST(TGetPhoto, AMissingDirectoryIsListedAndSkipped)
{
    TemporaryTree tree;
    tree.File("there/a.jpg");
    const std::string missing = tree.Path("missing");
    ScannerWindow window;

    TraceCapture trace;
    Scan(window, missing + "|" + tree.Path("there"));
    const StringList messages = ScannerMessages(trace.Stop());

    EXPECT_EQ(window.dirs, (StringList{missing, tree.Path("there")}));
    EXPECT_EQ(window.photos.size(), 1u);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "pic dir=" + missing);
}

TEST(TGetPhoto, NothingConfiguredMeansNothingDone)
{
    ScannerWindow window;
    TraceCapture trace;
    Scan(window, "");
    EXPECT_TRUE(ScannerMessages(trace.Stop()).empty());
    EXPECT_TRUE(window.dirs.empty());
    EXPECT_TRUE(window.photos.empty());
    EXPECT_TRUE(window.music.empty());
}

TEST(TGetPhoto, WaitingForAScannerNeverResumedReturnsAtOnce)
{
    ScannerWindow window;
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.m_Directories = "x";
    scanner.WaitFor();
    EXPECT_TRUE(window.dirs.empty());
}

TEST(TGetPhoto, AStopBeforeTheStartWalksNothing)
{
    TemporaryTree tree;
    tree.File("a.jpg");
    ScannerWindow window;
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.m_Directories = tree.Root();
    scanner.Terminate();
    scanner.Resume();
    scanner.WaitFor();
    EXPECT_TRUE(window.dirs.empty());
    EXPECT_TRUE(window.photos.empty());
}

TEST(TGetPhoto, AStopDuringTheLongPauseEndsItAtTheNextStep)
{
    TemporaryTree tree;
    tree.Directory("first");
    tree.Directory("second");
    ScannerWindow window;
    window.photos.assign(150, "seed.jpg"); // over 100 photos: up to 5.1 s after each folder
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.m_Directories = tree.Root();
    scanner.Resume();

    std::this_thread::sleep_for(milliseconds(300)); // well inside the pause after the first folder
    const auto stop = Clock::now();
    scanner.Terminate();
    scanner.WaitFor();
    const auto taken = Clock::now() - stop;

    // 100 ms at most in principle; the bound leaves room for a loaded machine.
    EXPECT_LT(taken, milliseconds(1000));
    EXPECT_EQ(window.photos.size(), 150u);
    EXPECT_EQ(window.dirs, (StringList{tree.Root()}));
}

TEST(TGetPhoto, AStopInTheMiddleOfAWalkKeepsWhatWasFoundAndShowsNoBox)
{
    constexpr int kFolders = 30;
    TemporaryTree tree;
    for (int folder = 0; folder < kFolders; ++folder) tree.File("f" + std::to_string(folder) + "/p.jpg");
    ScannerWindow window;
    window.photos.assign(50, "seed.jpg"); // 11 to 100 photos: 100 ms after each folder
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.m_Directories = tree.Root() + "|" + tree.Root();
    scanner.Resume();

    ASSERT_TRUE(WaitUntil([&] { return window.PhotoCount() >= 53; }));
    const auto stop = Clock::now();
    scanner.Terminate();
    scanner.WaitFor();
    const auto taken = Clock::now() - stop;

    EXPECT_LT(taken, milliseconds(1000));
    EXPECT_GE(window.photos.size(), 53u);
    EXPECT_LT(window.photos.size(), 50u + kFolders); // the second directory was never reached
    EXPECT_EQ(window.dirs, (StringList{tree.Root()}));
    for (std::size_t found = 50; found < window.photos.size(); ++found) {
        EXPECT_TRUE(window.photos[found].starts_with(tree.Root())) << window.photos[found];
    }
    EXPECT_TRUE(window.host.MessageBoxes().empty());
}

TEST(ShowSearchFailure, ShowsTheReasonInAnErrorBoxFromTheWorker)
{
    ScriptedUiHost host;
    NullForm form;
    host.OpenFullScreenWindow(form, false);
    std::atomic<bool> answered{false};
    std::thread worker([&] {
        ShowSearchFailure(host, "Out of memory");
        answered = true;
    });
    ASSERT_TRUE(WaitUntil([&] {
        host.WaitAndDispatch(5);
        return answered.load();
    }));
    worker.join();

    const auto boxes = host.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "error occured when searching photo,reason=Out of memory");
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].style, 0x110u);
}
