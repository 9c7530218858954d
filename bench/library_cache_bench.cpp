// The remembered library of 100,000 photos in 5,000 folders, in a throwaway cache folder:
//  - the time to load it into the lists, as the show's start does before its first frame,
//    against the same start with no cache file (the lookup that finds none);
//  - the time until the lists hold 100,000 paths and the scanner's path sets know them all;
//  - the heap the lists and the sets hold, against the bytes of the paths themselves;
//  - the time to write it, as the scanner does at the walk's end and at the close.
// Medians of several rounds. Linux only (the heap is counted through glibc).
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "media/library_cache.h"
#include "media/path_set.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFolders = 5000;
constexpr int kPerFolder = 20;
constexpr int kRounds = 7;

double Millis(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    char pattern[] = "/tmp/tovelin-cache-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    ::setenv("XDG_CACHE_HOME", pattern, 1);
    const std::string directories = "/home/someone/Pictures|/media/archive/Photos";

    StringList photos;
    std::size_t pathBytes = 0;
    for (int folder = 0; folder < kFolders; ++folder) {
        const std::string dir = "/home/someone/Pictures/" + std::to_string(2000 + folder % 25) + "/Album " +
                                std::to_string(folder);
        for (int i = 0; i < kPerFolder; ++i) {
            photos.push_back(dir + "/IMG_" + std::to_string(10000 + folder * kPerFolder + i) + ".JPG");
            pathBytes += photos.back().size();
        }
    }
    const StringList music{"/home/someone/Music/a.mp3"};

    std::vector<double> writes, loads, lists, none, foreign;
    for (int round = 0; round < kRounds; ++round) {
        const auto w0 = Clock::now();
        if (!SaveRememberedLibrary(directories, photos, music, {})) return 2;
        writes.push_back(Millis(w0, Clock::now()));

        const auto l0 = Clock::now();
        RememberedLibrary library = LoadRememberedLibrary(directories);
        const auto l1 = Clock::now();
        PathSet known(library.photos);
        known.IndexUpTo(library.photos.size());
        const auto l2 = Clock::now();
        if (library.photos.size() != photos.size() || known.Size() != photos.size()) return 3;
        loads.push_back(Millis(l0, l1));
        lists.push_back(Millis(l0, l2));

        const auto f0 = Clock::now();
        const RememberedLibrary other = LoadRememberedLibrary("/somewhere/else");
        foreign.push_back(Millis(f0, Clock::now()));
        std::filesystem::remove(std::string(pattern) + "/tovelin/library.cache");
        const auto n0 = Clock::now();
        const RememberedLibrary empty = LoadRememberedLibrary(directories);
        none.push_back(Millis(n0, Clock::now()));
        if (!empty.photos.empty() || !other.photos.empty()) return 4;
        if (!SaveRememberedLibrary(directories, photos, music, {})) return 2;
    }

    std::int64_t heap = 0;
    {
        // What stays after the load: the lists and the sets; the file's bytes are gone by then.
        AllocCounter counter;
        {
            RememberedLibrary library = LoadRememberedLibrary(directories);
            PathSet knownPhotos(library.photos);
            knownPhotos.IndexUpTo(library.photos.size());
            PathSet knownMusic(library.music);
            knownMusic.IndexUpTo(library.music.size());
            heap = counter.CurrentBytes();
        }
    }

    const auto fileSize = std::filesystem::file_size(std::string(pattern) + "/tovelin/library.cache");
    std::printf("library: %zu photos in %d folders, %zu bytes of paths, cache file %ju bytes\n", photos.size(),
                kFolders, pathBytes, static_cast<std::uintmax_t>(fileSize));
    std::printf("start with no cache file (the lookup that finds none): %.3f ms\n", Median(none));
    std::printf("start with a cache of another directory list:        %.3f ms\n", Median(foreign));
    std::printf("load into the lists (read + check + lists):           %.2f ms\n", Median(loads));
    std::printf("until the lists and the path set hold all:           %.2f ms\n", Median(lists));
    std::printf("write (format + temporary file + rename):            %.2f ms\n", Median(writes));
    if (AllocCounter::Available()) {
        std::printf("heap of the lists and sets: %lld bytes = %.2f x the path bytes\n", static_cast<long long>(heap),
                    static_cast<double>(heap) / static_cast<double>(pathBytes));
    }
    std::filesystem::remove_all(pattern);
    return 0;
}
