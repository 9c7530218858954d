#pragma once
// Counts the heap bytes in use while one of these objects lives, from every malloc of the
// process (operator new, libjpeg, the C library), by standing in for glibc's allocator entry
// points. One at a time, on one thread.
#include <cstdint>

class AllocCounter {
public:
    AllocCounter();
    ~AllocCounter();
    AllocCounter(const AllocCounter&) = delete;
    AllocCounter& operator=(const AllocCounter&) = delete;

    // The most bytes allocated and not yet freed at any moment since construction.
    std::int64_t PeakBytes() const;
    // The bytes allocated since construction and not yet freed.
    std::int64_t CurrentBytes() const;

    // False where the allocator cannot be replaced (no glibc): then nothing is counted.
    static bool Available();
};
