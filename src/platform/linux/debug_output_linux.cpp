#include "platform/debug_output.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

void WriteDebugOutput(std::string_view line)
{
    static std::mutex mutex;
    std::string whole(line);
    whole += '\n';
    const std::lock_guard<std::mutex> lock(mutex);
    std::size_t written = 0;
    while (written < whole.size()) {
        const ssize_t n = ::write(STDERR_FILENO, whole.data() + written, whole.size() - written);
        if (n < 0 && errno == EINTR) continue; // a signal came in: the rest of the line still goes
        if (n <= 0) return;
        written += static_cast<std::size_t>(n);
    }
}
