// Trace lines go to standard error on Linux, from every thread through the same descriptor.
#include <gtest/gtest.h>

#include <sstream>

#include "unit/test_support/trace_capture.h"

TraceCapture::TraceCapture() { testing::internal::CaptureStderr(); }

TraceCapture::~TraceCapture()
{
    if (m_Capturing) Stop();
}

std::vector<std::string> TraceCapture::Stop()
{
    m_Capturing = false;
    std::istringstream output(testing::internal::GetCapturedStderr());
    std::vector<std::string> messages;
    for (std::string line; std::getline(output, line);) messages.push_back(TraceMessage(line));
    return messages;
}
