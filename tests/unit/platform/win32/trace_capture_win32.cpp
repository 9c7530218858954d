// OutputDebugStringA raises a debug-print exception that a vectored handler sees, whatever the
// thread, before the system swallows it.
#include <mutex>
#include <utility>

#include "platform/win32/windows_header.h"
#include "unit/test_support/trace_capture.h"

namespace {

std::mutex s_Mutex;
std::vector<std::string> s_Messages;

LONG CALLBACK RecordDebugOutput(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
        const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
        const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        const std::lock_guard lock(s_Mutex);
        // The length counts the terminating zero.
        s_Messages.push_back(TraceMessage(std::string(text, length > 0 ? length - 1 : 0)));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

TraceCapture::TraceCapture()
{
    {
        const std::lock_guard lock(s_Mutex);
        s_Messages.clear();
    }
    m_Handle = AddVectoredExceptionHandler(1, &RecordDebugOutput);
}

TraceCapture::~TraceCapture()
{
    if (m_Capturing) Stop();
}

std::vector<std::string> TraceCapture::Stop()
{
    if (m_Capturing && m_Handle) RemoveVectoredExceptionHandler(m_Handle);
    m_Capturing = false;
    const std::lock_guard lock(s_Mutex);
    return std::exchange(s_Messages, {});
}
