// Trace lines on Linux: the C library's date and time formats, one line per call on stderr.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "app/log_trace.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Message(int thread, int index)
{
    // Lines of up to five kilobytes, distinct from each other.
    return "thread " + std::to_string(thread) + " line " + std::to_string(index) + " " +
           std::string(static_cast<std::size_t>(index * 37 % 5000), static_cast<char>('a' + thread));
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_Name(name)
    {
        if (const char* old = std::getenv(name)) m_Old = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment()
    {
        if (m_Old) {
            ::setenv(m_Name, m_Old->c_str(), 1);
        } else {
            ::unsetenv(m_Name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_Name;
    std::optional<std::string> m_Old;
};

[[noreturn]] void PrintFormatsAndExit()
{
    const LocalDateTime morning{2026, 12, 8, 3, 25, 18, 0};
    const LocalDateTime afternoon{2027, 1, 31, 15, 4, 5, 0};
    const LocalDateTime midnight{2026, 12, 8, 0, 0, 0, 0};
    std::fprintf(stderr, "[%s|%s|%s|%s|%s]", FormatShortDate(morning).c_str(), FormatLongTime(morning).c_str(),
                 FormatShortDate(afternoon).c_str(), FormatTraceLine(afternoon, "x").c_str(),
                 FormatTraceLine(midnight, "x").c_str());
    std::_Exit(0);
}

} // namespace

TEST(LogTraceLinux, TheCLocaleGivesNumericDateAndTwentyFourHourTime)
{
    // The user's formats are taken from the environment once, at the first trace; the check runs
    // in a fresh copy of this program so that it sees LC_ALL=C from the start.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnvironment cLocale("LC_ALL", "C");
    EXPECT_EXIT(PrintFormatsAndExit(), testing::ExitedWithCode(0),
                "^\\[12/08/26\\|03:25:18\\|01/31/27\\|01/31/27 15:04:05  x\\|12/08/26  x\\]$");
    GTEST_FLAG_SET(death_test_style, style);
}

TEST(LogTraceLinux, EachCallWritesOneLineToStandardError)
{
    const auto before = CurrentLocalDateTime();
    testing::internal::CaptureStderr();
    LogTrace("x");
    LogTrace("");
    LogTrace("pic file=/home/me/Photos/a b.jpg");
    const std::string output = testing::internal::GetCapturedStderr();

    const auto lines = Lines(output);
    ASSERT_EQ(lines.size(), 3u) << output;
    EXPECT_EQ(output.back(), '\n');
    // The line starts with today's date (yesterday's when midnight has just passed).
    const std::string today = FormatShortDate(CurrentLocalDateTime());
    EXPECT_TRUE(lines[0].starts_with(today) || lines[0].starts_with(FormatShortDate(before))) << lines[0];
    EXPECT_TRUE(lines[0].ends_with("  x")) << lines[0];
    EXPECT_TRUE(lines[1].ends_with("  ")) << lines[1];
    EXPECT_TRUE(lines[2].ends_with("  pic file=/home/me/Photos/a b.jpg")) << lines[2];
}

TEST(LogTraceLinux, LinesFromTwoThreadsNeverInterleave)
{
    constexpr int kLinesPerThread = 3000;
    testing::internal::CaptureStderr();
    {
        std::vector<std::jthread> threads;
        for (int thread = 0; thread < 2; ++thread) {
            threads.emplace_back([thread] {
                for (int index = 0; index < kLinesPerThread; ++index) LogTrace(Message(thread, index));
            });
        }
    }
    const std::string output = testing::internal::GetCapturedStderr();

    std::set<std::string> expected;
    for (int thread = 0; thread < 2; ++thread) {
        for (int index = 0; index < kLinesPerThread; ++index) expected.insert(Message(thread, index));
    }
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.back(), '\n');
    std::size_t whole = 0;
    for (const std::string& line : Lines(output)) {
        const auto start = line.find("  thread ");
        const bool ok = start != std::string::npos && start > 0 &&
                        line.rfind("thread ", start) == std::string::npos &&
                        expected.erase(line.substr(start + 2)) == 1;
        if (!ok) {
            ADD_FAILURE() << "broken line: " << line.substr(0, 200);
            break;
        }
        ++whole;
    }
    EXPECT_EQ(whole, 2u * kLinesPerThread);
    EXPECT_TRUE(expected.empty());
}
