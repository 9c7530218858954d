#include "platform/current_thread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

void RaiseCurrentThreadPriority()
{
    // Linux keeps a nice value per thread; one step above normal is one less.
    const pid_t thread = ::gettid();
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    if (nice == -1 && errno != 0) return;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice - 1); // refused without privilege: fine
}

void NameCurrentThread(const std::string& name)
{
    // The kernel keeps 15 bytes and a terminator; a longer name would be refused whole.
    ::pthread_setname_np(::pthread_self(), name.substr(0, 15).c_str());
}
