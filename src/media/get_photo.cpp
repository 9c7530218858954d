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
// A long walk is remembered this often, so that a show ended without its close loses little.
constexpr auto kRememberEvery = std::chrono::minutes(1);

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
            Walk();
            Remember();
        } catch (const std::exception& failure) {
            Remember();
            ShowSearchFailure(m_Host, failure.what());
        } catch (...) {
            Remember();
            ShowSearchFailure(m_Host, "unknown failure");
        }
    } catch (...) {
        // Not even the box could be shown (no memory left): the lists keep what was found.
    }
}

void TGetPhoto::Walk()
{
    // No folders: nothing to walk, and the lists are not this thread's to read.
    if (m_Directories.empty()) return;
    m_LastRemembered = std::chrono::steady_clock::now();
    m_PassOver.insert(m_WalkedFolders.begin(), m_WalkedFolders.end());
    m_Walked = m_PassOver;
    const bool carriedOn = !m_PassOver.empty();
    for (int pass = 0; pass < (carriedOn ? 2 : 1); ++pass) {
        {
            const std::lock_guard lock(m_ListLock);
            m_KnownPhotos.IndexUpTo(m_PhotoList.size());
            m_KnownMusic.IndexUpTo(m_MusicList.size());
        }
        ScanAll(m_Directories);
        if (Terminated()) return;
        // Every folder has been walked once: the next pass starts from the top.
        m_PassOver.clear();
        m_Walked.clear();
        m_FirstPass = false;
    }
}

void TGetPhoto::Remember()
{
    if (!m_Remember) return;
    try {
        m_Remember(m_PhotoList, m_MusicList, StringList(m_Walked.begin(), m_Walked.end()));
    } catch (...) {
        // Only a cache: the show goes on without it.
    }
    m_LastRemembered = std::chrono::steady_clock::now();
}

void TGetPhoto::RememberNowAndThen()
{
    if (std::chrono::steady_clock::now() - m_LastRemembered >= kRememberEvery) Remember();
}

void TGetPhoto::MarkWalked(const std::string& dir)
{
    // Every name below dir sorts right after dir + delimiter.
    const std::string below = dir + PathDelimiter();
    auto first = m_Walked.lower_bound(below);
    auto last = first;
    while (last != m_Walked.end() && last->starts_with(below)) ++last;
    m_Walked.erase(first, last);
    m_Walked.insert(dir);
}

void TGetPhoto::ScanAll(std::string remaining)
{
    if (remaining.empty()) return;
    while (!Terminated()) {
        const auto bar = remaining.find('|');
        if (bar == std::string::npos) {
            // The walk needs a name: an empty last entry (a trailing "|") is skipped.
            if (!remaining.empty()) {
                if (m_FirstPass) m_DirList.push_back(remaining);
                LogTrace("pic dir=" + remaining);
                ScanDirectory(remaining);
            }
            return;
        }
        const std::string dir = remaining.substr(0, bar);
        if (!dir.empty()) {
            if (m_FirstPass) m_DirList.push_back(dir);
            ScanDirectory(dir);
            LogTrace("pic dir=" + dir);
        }
        remaining.erase(0, bar + 1);
    }
}

bool TGetPhoto::ScanDirectory(std::string dir)
{
    if (Terminated()) return true;
    if (!dir.empty() && dir.back() == PathDelimiter()) dir.pop_back();
    if (m_PassOver.contains(dir)) return false;

    const auto listing = OpenDirectoryListing(dir);
    if (!listing) { // unreadable, missing or refused: skipped without a word
        MarkWalked(dir);
        return true;
    }
    const auto identity = listing->Identity();
    if (identity && std::find(m_OpenDirectories.begin(), m_OpenDirectories.end(), *identity) != m_OpenDirectories.end()) {
        return true; // a link back into a directory this walk is inside
    }
    std::optional<OpenDirectory> open;
    if (identity) open.emplace(m_OpenDirectories, *identity);

    DirectoryEntry entry;
    while (listing->Next(entry)) {
        if (entry.isDirectory) {
            if (ScanDirectory(dir + PathDelimiter() + entry.name)) {
                Throttle();
                RememberNowAndThen();
            }
        } else {
            CollectFile(dir, entry.name);
        }
        if (Terminated()) return true;
    }
    MarkWalked(dir);
    return true;
}

void TGetPhoto::CollectFile(const std::string& dir, const std::string& name)
{
    const MediaKind kind = ClassifyMediaFile(name);
    if (kind == MediaKind::Other) return;
    const std::string path = dir + PathDelimiter() + name;
    if ((kind == MediaKind::Photo ? m_KnownPhotos : m_KnownMusic).Contains(path)) return;
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
