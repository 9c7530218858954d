#include "media/get_photo.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <optional>

#include "app/log_trace.h"
#include "media/media_kind.h"
#include "platform/current_thread.h"
#include "platform/message_box.h"
#include "platform/program_file.h"
#include "platform/ui_host.h"

namespace {

constexpr auto kPauseStep = std::chrono::milliseconds(100);
// The photo counts from which each sub-directory is followed by a short pause and by a long one:
// once the show has photos, the walk leaves it the disk and the processor.
constexpr std::size_t kShortPauseFrom = 11;
constexpr std::size_t kLongPauseFrom = 101;
constexpr int kLongPauseSteps = 51;

void PauseOneStep() { std::this_thread::sleep_for(kPauseStep); }

// Keeps a directory on the list of those open on the current walk while the walk is inside it.
class OpenDirectory {
public:
    OpenDirectory(std::vector<DirectoryIdentity>& open, const DirectoryIdentity& identity) : m_Open(open)
    {
        m_Open.push_back(identity);
    }
    ~OpenDirectory() { m_Open.pop_back(); }
    OpenDirectory(const OpenDirectory&) = delete;
    OpenDirectory& operator=(const OpenDirectory&) = delete;

private:
    std::vector<DirectoryIdentity>& m_Open;
};

} // namespace

TGetPhoto::TGetPhoto(StringList& dirList, StringList& photoList, StringList& musicList, std::mutex& listLock,
                     UiHost& host)
    : m_DirList(dirList), m_PhotoList(photoList), m_MusicList(musicList), m_ListLock(listLock), m_Host(host)
{
}

TGetPhoto::~TGetPhoto()
{
    Terminate();
    WaitFor();
}

void TGetPhoto::SetPriorityAboveNormal() { m_AboveNormal = true; }

void TGetPhoto::Resume()
{
    const std::lock_guard lock(m_ThreadLock);
    if (m_Thread.joinable()) return;
    m_Thread = std::thread([this] { Execute(); });
}

void TGetPhoto::Terminate() { m_Terminated = true; }

void TGetPhoto::WaitFor()
{
    const std::lock_guard lock(m_ThreadLock);
    if (m_Thread.joinable()) m_Thread.join();
}

void TGetPhoto::Execute()
{
    if (m_AboveNormal) RaiseCurrentThreadPriority();
    NameCurrentThread("g_threadGetPhoto");
    // Nothing may escape a thread's body: a failure ends the walk with one box.
    try {
        try {
            ScanAll(m_Directories);
        } catch (const std::exception& failure) {
            ShowSearchFailure(m_Host, failure.what());
        } catch (...) {
            ShowSearchFailure(m_Host, "unknown failure");
        }
    } catch (...) {
        // Not even the box could be shown (no memory left): the lists keep what was found.
    }
}

void TGetPhoto::ScanAll(std::string remaining)
{
    if (remaining.empty()) return;
    while (!Terminated()) {
        const auto bar = remaining.find('|');
        if (bar == std::string::npos) {
            // The walk needs a name: an empty last entry (a trailing "|") is skipped.
            if (!remaining.empty()) {
                m_DirList.push_back(remaining);
                LogTrace("pic dir=" + remaining);
                ScanDirectory(remaining);
            }
            return;
        }
        const std::string dir = remaining.substr(0, bar);
        if (!dir.empty()) {
            m_DirList.push_back(dir);
            ScanDirectory(dir);
            LogTrace("pic dir=" + dir);
        }
        remaining.erase(0, bar + 1);
    }
}

void TGetPhoto::ScanDirectory(std::string dir)
{
    if (Terminated()) return;
    if (!dir.empty() && dir.back() == PathDelimiter()) dir.pop_back();

    const auto listing = OpenDirectoryListing(dir);
    if (!listing) return; // unreadable, missing or refused: skipped without a word
    const auto identity = listing->Identity();
    if (identity && std::find(m_OpenDirectories.begin(), m_OpenDirectories.end(), *identity) != m_OpenDirectories.end()) {
        return; // a link back into a directory this walk is inside
    }
    std::optional<OpenDirectory> open;
    if (identity) open.emplace(m_OpenDirectories, *identity);

    DirectoryEntry entry;
    while (listing->Next(entry)) {
        if (entry.isDirectory) {
            ScanDirectory(dir + PathDelimiter() + entry.name);
            Throttle();
        } else {
            CollectFile(dir, entry.name);
        }
        if (Terminated()) break;
    }
}

void TGetPhoto::CollectFile(const std::string& dir, const std::string& name)
{
    const MediaKind kind = ClassifyMediaFile(name);
    if (kind == MediaKind::Other) return;
    const std::string path = dir + PathDelimiter() + name;
    if (kind == MediaKind::Photo) {
        {
            const std::lock_guard lock(m_ListLock);
            m_PhotoList.push_back(path);
        }
        LogTrace("find pic file:" + path);
    } else {
        {
            const std::lock_guard lock(m_ListLock);
            m_MusicList.push_back(path);
        }
        LogTrace("find music file:" + path);
    }
}

void TGetPhoto::Throttle()
{
    std::size_t photos = 0;
    {
        const std::lock_guard lock(m_ListLock);
        photos = m_PhotoList.size();
    }
    if (photos >= kLongPauseFrom) {
        for (int step = 0; step < kLongPauseSteps && !Terminated(); ++step) PauseOneStep();
    } else if (photos >= kShortPauseFrom) {
        PauseOneStep();
    }
}

void ShowSearchFailure(UiHost& host, std::string_view reason)
{
    host.WorkerMessageBox("error occured when searching photo,reason=" + std::string(reason), "",
                          mb::Ok | mb::IconError | mb::DefButton2);
}
