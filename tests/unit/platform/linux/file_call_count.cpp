#undef _FORTIFY_SOURCE // the checked inline open() would clash with the counting one below
#include "file_call_count.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <cstdarg>
#include <cstring>

FileCallCounts& CountedFileCalls()
{
    static FileCallCounts counts;
    return counts;
}

namespace {

// The C library's own function of that name.
template <typename Function>
Function* Next(const char* name)
{
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

bool IsStoreFile(const char* path)
{
    const std::size_t length = std::strlen(path);
    return length >= 13 && std::strcmp(path + length - 13, "/registry.reg") == 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (IsStoreFile(path)) ++CountedFileCalls().storeOpens;
    static auto* next = Next<int(const char*, int, ...)>("open");
    return next(path, flags, mode);
}

int flock(int fd, int operation)
{
    ++CountedFileCalls().flocks;
    static auto* next = Next<int(int, int)>("flock");
    return next(fd, operation);
}

int fsync(int fd)
{
    ++CountedFileCalls().fsyncs;
    static auto* next = Next<int(int)>("fsync");
    return next(fd);
}

int rename(const char* from, const char* to)
{
    ++CountedFileCalls().renames;
    static auto* next = Next<int(const char*, const char*)>("rename");
    return next(from, to);
}

int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to, unsigned flags)
{
    ++CountedFileCalls().renames;
    static auto* next = Next<int(int, const char*, int, const char*, unsigned)>("renameat2");
    return next(fromDirectory, from, toDirectory, to, flags);
}

int link(const char* from, const char* to)
{
    ++CountedFileCalls().links;
    static auto* next = Next<int(const char*, const char*)>("link");
    return next(from, to);
}

} // extern "C"
