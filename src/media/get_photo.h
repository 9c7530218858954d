#pragma once
// TGetPhoto: the background scanner that walks the configured directories and fills the slide
// show's photo and music lists while the show runs.
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "media/path_set.h"
#include "media/string_list.h"
#include "platform/directory_listing.h"

class UiHost;

class TGetPhoto {
public:
    // Created suspended: the body does not run until Resume(). The lists, the lock and the host
    // belong to the window and must outlive the scanner's body.
    TGetPhoto(StringList& dirList, StringList& photoList, StringList& musicList, std::mutex& listLock,
              UiHost& host);
    // Requests the stop and waits if the body still runs.
    ~TGetPhoto();
    TGetPhoto(const TGetPhoto&) = delete;
    TGetPhoto& operator=(const TGetPhoto&) = delete;

    // Before Resume().
    void SetPriorityAboveNormal();
    // The directories separated by "|"; set once before Resume().
    std::string m_Directories;
    // Where an earlier walk left off, set before Resume(): the folders it walked through to the
    // end are passed over until the walk has been through every folder once, and then a new
    // pass from the top looks for what is new. A pass adds no file that the lists held when it
    // began.
    StringList m_WalkedFolders;
    // What to remember, called on the scanner's thread with the lists and the folders walked
    // through on the unfinished pass (none once a pass has ended): about once a minute during
    // the walk, and when the body ends, however it ends. Set before Resume().
    std::function<void(const StringList& photos, const StringList& music, const StringList& walkedFolders)>
        m_Remember;
    // Starts the body; later calls change nothing.
    void Resume();
    // Sets the stop flag; from any thread.
    void Terminate();
    // Blocks until the body has returned; returns at once if it never started.
    void WaitFor();

private:
    void Execute();
    void Walk();
    void ScanAll(std::string remaining);
    // False when the folder was passed over: no pause follows it.
    bool ScanDirectory(std::string dir);
    void MarkWalked(const std::string& dir);
    void Remember();
    void RememberNowAndThen();
    void CollectFile(const std::string& dir, const std::string& name);
    void Throttle();
    bool Terminated() const { return m_Terminated.load(); }

    StringList& m_DirList;
    StringList& m_PhotoList;
    StringList& m_MusicList;
    std::mutex& m_ListLock;
    UiHost& m_Host;
    bool m_AboveNormal = false;
    std::atomic<bool> m_Terminated{false};
    // The directories open on the current walk, outermost first: a link back to one of them
    // is not entered again, so the walk always ends.
    std::vector<DirectoryIdentity> m_OpenDirectories;
    // The folders passed over on this pass, and those walked through so far: a folder stands
    // for everything below it.
    std::set<std::string> m_PassOver;
    std::set<std::string> m_Walked;
    bool m_FirstPass = true;
    // The paths the lists held when the current pass began. Only this thread appends to the
    // lists, so it reads them without the lock.
    PathSet m_KnownPhotos{m_PhotoList};
    PathSet m_KnownMusic{m_MusicList};
    std::chrono::steady_clock::time_point m_LastRemembered;
    std::mutex m_ThreadLock; // Resume and WaitFor may come from different threads
    std::thread m_Thread;
};

// The box the scanner shows when its walk fails; the calling worker waits for its answer.
void ShowSearchFailure(UiHost& host, std::string_view reason);
