// Trace lines on Windows: the user's formats of the en-US locale, and what reaches the debugger.
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

#include "app/log_trace.h"
#include "platform/win32/windows_header.h"

namespace {

bool UserLocaleIsUsEnglish() { return GetUserDefaultLCID() == MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT); }

// OutputDebugStringA raises a debug-print exception that a vectored handler sees before the
// system swallows it; this records the texts that this thread's callers sent.
class DebugOutputRecorder {
public:
    DebugOutputRecorder() : m_Handle(AddVectoredExceptionHandler(1, &DebugOutputRecorder::Handler))
    {
        std::lock_guard lock(s_Mutex);
        s_Texts.clear();
    }
    ~DebugOutputRecorder() { RemoveVectoredExceptionHandler(m_Handle); }
    DebugOutputRecorder(const DebugOutputRecorder&) = delete;
    DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

    std::vector<std::string> Texts() const
    {
        std::lock_guard lock(s_Mutex);
        return s_Texts;
    }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* exception)
    {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
            const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
            const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
            std::lock_guard lock(s_Mutex);
            // The length counts the terminating zero.
            s_Texts.emplace_back(text, length > 0 ? length - 1 : 0);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    PVOID m_Handle;
    static inline std::mutex s_Mutex;
    static inline std::vector<std::string> s_Texts;
};

} // namespace

TEST(LogTraceWin32, UsEnglishGivesMonthDayYearAndTwelveHourTime)
{
    if (!UserLocaleIsUsEnglish()) GTEST_SKIP() << "the user locale is " << GetUserDefaultLCID() << ", not en-US";
    const LocalDateTime morning{2026, 12, 8, 3, 25, 18, 0};
    const LocalDateTime afternoon{2027, 1, 31, 15, 4, 5, 0};
    EXPECT_EQ(FormatShortDate(morning), "12/8/2026");
    EXPECT_EQ(FormatLongTime(morning), "3:25:18 AM");
    EXPECT_EQ(FormatShortDate(afternoon), "1/31/2027");
    EXPECT_EQ(FormatLongTime(afternoon), "3:04:05 PM");
    EXPECT_EQ(FormatTraceLine(afternoon, "x"), "1/31/2027 3:04:05 PM  x");
    EXPECT_EQ(FormatTraceLine({2026, 12, 8, 0, 0, 0, 0}, "x"), "12/8/2026  x");
    EXPECT_EQ(FormatTraceLine({2026, 12, 8, 0, 0, 1, 0}, "x"), "12/8/2026 12:00:01 AM  x");
    EXPECT_EQ(FormatTraceLine({2026, 12, 8, 0, 0, 0, 1}, "x"), "12/8/2026 12:00:00 AM  x");
}

TEST(LogTraceWin32, EachCallSendsOneTextWithoutATerminator)
{
    const DebugOutputRecorder recorder;
    const LocalDateTime before = CurrentLocalDateTime();
    LogTrace("x");
    LogTrace("pic file=C:\\Photos\\a b.jpg");
    const auto texts = recorder.Texts();
    ASSERT_EQ(texts.size(), 2u);
    const std::string date = FormatShortDate(before);
    EXPECT_TRUE(texts[0].starts_with(date + " ") || texts[0].starts_with(date + "  ")) << texts[0];
    EXPECT_TRUE(texts[0].ends_with("  x")) << texts[0];
    EXPECT_TRUE(texts[1].ends_with("  pic file=C:\\Photos\\a b.jpg")) << texts[1];
    EXPECT_EQ(texts[0].find('\n'), std::string::npos);
    if (UserLocaleIsUsEnglish()) {
        // "12/8/2026 3:25:18 AM  x"
        EXPECT_TRUE(texts[0].ends_with(" AM  x") || texts[0].ends_with(" PM  x") || texts[0] == date + "  x")
            << texts[0];
    }
}

TEST(LogTraceWin32, CallsFromTwoThreadsStayWhole)
{
    constexpr int kLinesPerThread = 500;
    const DebugOutputRecorder recorder;
    {
        std::vector<std::jthread> threads;
        for (int thread = 0; thread < 2; ++thread) {
            threads.emplace_back([thread] {
                for (int index = 0; index < kLinesPerThread; ++index) {
                    LogTrace("thread " + std::to_string(thread) + " line " + std::to_string(index));
                }
            });
        }
    }
    std::set<std::string> messages;
    for (const std::string& text : recorder.Texts()) {
        const auto start = text.find("  thread ");
        ASSERT_NE(start, std::string::npos) << text;
        messages.insert(text.substr(start + 2));
    }
    EXPECT_EQ(messages.size(), 2u * kLinesPerThread);
    EXPECT_EQ(messages.count("thread 1 line 499"), 1u);
}
