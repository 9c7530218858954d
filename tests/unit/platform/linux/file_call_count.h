#pragma once
// Counts, made by this test program's own code, of the calls that a store access may make: the
// test program defines these C library functions itself, and each counts and passes on.
#include <atomic>

struct FileCallCounts {
    std::atomic<int> storeOpens{0}; // open() of a file named registry.reg
    std::atomic<int> flocks{0};
    std::atomic<int> fsyncs{0};
    std::atomic<int> renames{0};
    std::atomic<int> links{0};

    void Reset()
    {
        for (auto* count : {&storeOpens, &flocks, &fsyncs, &renames, &links}) *count = 0;
    }
};

FileCallCounts& CountedFileCalls();
