#include "alloc_counter.h"

#include <atomic>
#include <cstddef>

#if defined(__GLIBC__)
#include <malloc.h>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<bool> g_Counting{false};
std::atomic<std::int64_t> g_Current{0};
std::atomic<std::int64_t> g_Peak{0};

void Count(void* block)
{
    if (block == nullptr || !g_Counting.load(std::memory_order_relaxed)) return;
    const std::int64_t now = g_Current += static_cast<std::int64_t>(malloc_usable_size(block));
    if (now > g_Peak.load(std::memory_order_relaxed)) g_Peak.store(now, std::memory_order_relaxed);
}

void Uncount(void* block)
{
    if (block == nullptr || !g_Counting.load(std::memory_order_relaxed)) return;
    g_Current -= static_cast<std::int64_t>(malloc_usable_size(block));
}

} // namespace

extern "C" {

void* malloc(std::size_t size)
{
    void* block = __libc_malloc(size);
    Count(block);
    return block;
}

void* calloc(std::size_t count, std::size_t size)
{
    void* block = __libc_calloc(count, size);
    Count(block);
    return block;
}

void* realloc(void* old, std::size_t size)
{
    Uncount(old);
    void* block = __libc_realloc(old, size);
    Count(block != nullptr ? block : (size != 0 ? old : nullptr));
    return block;
}

void free(void* block)
{
    Uncount(block);
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    void* block = __libc_memalign(alignment, size);
    Count(block);
    return block;
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    return memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    void* block = memalign(alignment, size);
    if (block == nullptr) return 12; // ENOMEM
    *result = block;
    return 0;
}

} // extern "C"

AllocCounter::AllocCounter()
{
    g_Current = 0;
    g_Peak = 0;
    g_Counting = true;
}

AllocCounter::~AllocCounter()
{
    g_Counting = false;
}

std::int64_t AllocCounter::PeakBytes() const
{
    return g_Peak.load();
}

std::int64_t AllocCounter::CurrentBytes() const
{
    return g_Current.load();
}

bool AllocCounter::Available()
{
    return true;
}

#else

AllocCounter::AllocCounter() = default;
AllocCounter::~AllocCounter() = default;
std::int64_t AllocCounter::PeakBytes() const
{
    return 0;
}
std::int64_t AllocCounter::CurrentBytes() const
{
    return 0;
}
bool AllocCounter::Available()
{
    return false;
}

#endif
