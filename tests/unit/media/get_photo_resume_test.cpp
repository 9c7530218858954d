// The scanner carrying on from where an earlier show's walk stopped, and what it hands over to
// be remembered.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "media/get_photo.h"
#include "unit/test_support/scripted_ui_host.h"
#include "unit/test_support/temporary_tree.h"
#include "unit/test_support/trace_capture.h"

namespace {

struct Remembered {
    int calls = 0;
    StringList photos;
    StringList walked;
};

struct ScanRun {
    StringList dirs;
    StringList photos;
    StringList music;
    std::mutex lock;
    ScriptedUiHost host;
    Remembered remembered;

    std::unique_ptr<TGetPhoto> Scanner(const std::string& directories, StringList walked)
    {
        auto scanner = std::make_unique<TGetPhoto>(dirs, photos, music, lock, host);
        scanner->m_Directories = directories;
        scanner->m_WalkedFolders = std::move(walked);
        scanner->m_Remember = [this](const StringList& p, const StringList&, const StringList& w) {
            ++remembered.calls;
            remembered.photos = p;
            remembered.walked = w;
        };
        return scanner;
    }
};

StringList FoundPhotos(const StringList& messages)
{
    StringList found;
    for (const std::string& message : messages) {
        if (message.starts_with("find pic file:")) found.push_back(message.substr(14));
    }
    return found;
}

} // namespace

TEST(TGetPhotoCarryingOn, PassesOverWalkedFoldersThenLooksForWhatIsNewFromTheTop)
{
    TemporaryTree tree;
    for (const char* name : {"A/a.jpg", "B/b.jpg", "C/c.jpg", "A/new.jpg"}) tree.File(name);
    const std::string a = tree.Path("A"), b = tree.Path("B"), c = tree.Path("C");
    const std::string aa = JoinPath(a, "a.jpg"), bb = JoinPath(b, "b.jpg"), cc = JoinPath(c, "c.jpg"),
                      fresh = JoinPath(a, "new.jpg");
    const struct {
        const char* name;
        StringList remembered;
        StringList walked;
        StringList found;
    } cases[] = {
        // A was walked last time, before new.jpg came: B and C first, then from the top, A.
        {"carrying on after A", {aa}, {a}, {bb, cc, fresh}},
        {"carrying on after A and B", {aa, bb}, {a, b}, {cc, fresh}},
        // A pass that ended: from the top, and what is remembered is not added twice.
        {"after a finished pass", {aa, bb}, {}, {fresh, cc}},
        {"everything remembered", {aa, bb, cc, fresh}, {}, {}},
    };
    for (const auto& test : cases) {
        ScanRun run;
        run.photos = test.remembered;
        TraceCapture trace;
        auto scanner = run.Scanner(a + "|" + b + "|" + c, test.walked);
        scanner->Resume();
        scanner->WaitFor();
        EXPECT_EQ(FoundPhotos(trace.Stop()), test.found) << test.name;
        StringList all = test.remembered;
        all.insert(all.end(), test.found.begin(), test.found.end());
        EXPECT_EQ(run.photos, all) << test.name;
        EXPECT_EQ(run.dirs, (StringList{a, b, c})) << test.name << ": each configured folder listed once";
        EXPECT_EQ(run.remembered.calls, 1) << test.name;
        EXPECT_EQ(run.remembered.photos, all) << test.name;
        EXPECT_TRUE(run.remembered.walked.empty()) << test.name << ": the pass ended";
    }
}

TEST(TGetPhotoCarryingOn, AStoppedWalkRemembersWhereItStoppedAndTheNextCarriesOnFromThere)
{
    TemporaryTree tree;
    tree.File("R/one/a.jpg");
    tree.File("R/two/b.jpg");
    const std::string root = tree.Path("R");

    ScanRun first;
    first.photos.assign(101, "/seed.jpg"); // over 100 photos: a long pause after each folder
    auto scanner = first.Scanner(root, {});
    scanner->Resume();
    // Well inside the pause after the first folder.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (true) {
        {
            const std::lock_guard guard(first.lock);
            if (first.photos.size() > 101) break;
        }
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    scanner->Terminate();
    scanner->WaitFor();
    ASSERT_EQ(first.remembered.calls, 1);
    ASSERT_EQ(first.remembered.walked.size(), 1u);
    const std::string walked = first.remembered.walked.front();
    ASSERT_TRUE(walked == JoinPath(root, "one") || walked == JoinPath(root, "two")) << walked;
    const StringList found(first.photos.begin() + 101, first.photos.end());

    ScanRun next;
    next.photos = found;
    TraceCapture trace;
    auto carryOn = next.Scanner(root, first.remembered.walked);
    carryOn->Resume();
    carryOn->WaitFor();
    const StringList foundNext = FoundPhotos(trace.Stop());

    EXPECT_EQ(next.photos.size(), 2u) << "every photo once";
    ASSERT_FALSE(foundNext.empty());
    for (const std::string& path : foundNext) EXPECT_FALSE(path.starts_with(walked)) << path;
    EXPECT_TRUE(next.remembered.walked.empty());
}
