// The scanner on Linux: names are bytes, and its thread carries its name and raised priority.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "media/get_photo.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/scanner_window.h"
#include "unit/test_support/temporary_tree.h"
#include "unit/test_support/trace_capture.h"

namespace {

// The nice value of this process's thread named name, if there is one.
std::optional<int> NiceOfThread(const std::string& name)
{
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string comm;
        std::getline(std::ifstream(task.path() / "comm"), comm);
        if (comm != name) continue;
        // Field 19 of stat; the name in field 2 may hold blanks, so count from its ")".
        std::string stat;
        std::getline(std::ifstream(task.path() / "stat"), stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        for (int index = 3; index <= 19 && fields >> field; ++index) {
        }
        return std::stoi(field);
    }
    return std::nullopt;
}

} // namespace

TEST(TGetPhotoLinux, KeepsNamesThatAreNotValidTextAsBytes)
{
    TemporaryTree tree;
    const std::string name = "caf\xE9 \xFF.JPG";
    tree.File(name);
    tree.File("\xC3/song.mid");
    ScannerWindow window;
    TraceCapture trace;
    {
        TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
        scanner.m_Directories = tree.Root();
        scanner.Resume();
        scanner.WaitFor();
    }
    const auto messages = trace.Stop();
    EXPECT_EQ(window.photos, (StringList{tree.Root() + "/" + name}));
    EXPECT_EQ(window.music, (StringList{tree.Root() + "/\xC3/song.mid"}));
    EXPECT_NE(std::find(messages.begin(), messages.end(), "find pic file:" + tree.Root() + "/" + name),
              messages.end());
}

TEST(TGetPhotoLinux, TheScannerThreadIsNamedAndRaisedWherePermitted)
{
    TemporaryTree tree;
    tree.Directory("first");
    tree.Directory("second");
    ScannerWindow window;
    window.photos.assign(150, "seed.jpg"); // holds the scanner in a long pause
    TGetPhoto scanner(window.dirs, window.photos, window.music, window.lock, window.host);
    scanner.m_Directories = tree.Root();
    scanner.SetPriorityAboveNormal();
    scanner.Resume();

    std::optional<int> nice;
    for (int attempt = 0; attempt < 200 && !nice; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        nice = NiceOfThread("g_threadGetPhot");
    }
    scanner.Terminate();
    scanner.WaitFor();
    ASSERT_TRUE(nice.has_value());
    if (::geteuid() == 0) {
        EXPECT_EQ(*nice, ::getpriority(PRIO_PROCESS, 0) - 1);
    }
}
