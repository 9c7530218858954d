// The trace channel on Linux: a write to standard error interrupted by a signal still delivers
// the whole line.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/debug_output.h"

namespace {

void IgnoreSignal(int) {}

// Drains a pipe until its write end is closed everywhere.
std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

TEST(DebugOutputLinux, ASignalDuringABlockedWriteLosesNothing)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    // Fill the pipe so that the next write blocks until someone reads.
    const int flags = ::fcntl(pipeEnds[1], F_GETFL);
    ASSERT_EQ(::fcntl(pipeEnds[1], F_SETFL, flags | O_NONBLOCK), 0);
    const std::string filler(4096, 'f');
    std::size_t filled = 0;
    for (;;) {
        const ssize_t n = ::write(pipeEnds[1], filler.data(), filler.size());
        if (n <= 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ASSERT_EQ(::fcntl(pipeEnds[1], F_SETFL, flags), 0);

    // A handler installed without SA_RESTART makes the blocked write fail with EINTR.
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = IgnoreSignal;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);

    const int savedStderr = ::dup(STDERR_FILENO);
    ASSERT_GE(savedStderr, 0);
    ASSERT_EQ(::dup2(pipeEnds[1], STDERR_FILENO), STDERR_FILENO);
    ::close(pipeEnds[1]);

    const pthread_t writer = ::pthread_self();
    std::string received;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::pthread_kill(writer, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        received = ReadAll(pipeEnds[0]);
    });
    WriteDebugOutput("the whole line");
    ::dup2(savedStderr, STDERR_FILENO); // closes the last write end: the reader sees the end
    ::close(savedStderr);
    reader.join();
    ::close(pipeEnds[0]);
    ::sigaction(SIGUSR1, &previous, nullptr);

    ASSERT_EQ(received.size(), filled + std::string("the whole line\n").size());
    EXPECT_EQ(received.substr(filled), "the whole line\n");
}

} // namespace
