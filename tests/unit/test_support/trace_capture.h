#pragma once
// Collects the trace lines written from any thread while it lives, as their messages (the text
// after the date, the time and the two blanks). One at a time.
#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Ends the capture and returns the messages in the order they were written.
    std::vector<std::string> Stop();

private:
    bool m_Capturing = true;
    void* m_Handle = nullptr; // the OS's own hook, where it needs one
};

// The message of one trace line: what follows its first two blanks.
inline std::string TraceMessage(const std::string& line)
{
    const auto start = line.find("  ");
    return start == std::string::npos ? line : line.substr(start + 2);
}
