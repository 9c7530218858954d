#pragma once
// TGetPhoto: the background scanner that walks the configured directories and fills the slide
// show's photo and music lists while the show runs.
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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
    // Starts the body; later calls change nothing.
    void Resume();
    // Sets the stop flag; from any thread.
    void Terminate();
    // Blocks until the body has returned; returns at once if it never started.
    void WaitFor();

private:
    void Execute();
    void ScanAll(std::string remaining);
    void ScanDirectory(std::string dir);
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
    std::mutex m_ThreadLock; // Resume and WaitFor may come from different threads
    std::thread m_Thread;
};

// The box the scanner shows when its walk fails; the calling worker waits for its answer.
void ShowSearchFailure(UiHost& host, std::string_view reason);
