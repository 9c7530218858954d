#pragma once
// How much the resident memory of this process grew at its peak during one step, where the
// system tells it: Linux keeps a high-water mark that a write to clear_refs resets. Under Wine
// the same files describe the Linux process that runs the test. Elsewhere nothing is measured.
#include <cstdint>
#include <fstream>
#include <string>

class PeakMemoryProbe {
public:
    PeakMemoryProbe()
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5" << std::flush;
        m_Before = StatusKilobytes("VmRSS:");
        m_Available = reset.good() && m_Before > 0;
    }

    bool Available() const { return m_Available; }

    // Peak resident size since construction, less the resident size at construction.
    std::int64_t GrowthMegabytes() const { return (StatusKilobytes("VmHWM:") - m_Before) / 1024; }

private:
    static std::int64_t StatusKilobytes(const std::string& field)
    {
        std::ifstream status("/proc/self/status");
        std::string name;
        while (status >> name) {
            if (name == field) {
                std::int64_t value = 0;
                status >> value;
                return value;
            }
            status.ignore(1 << 20, '\n');
        }
        return 0;
    }

    std::int64_t m_Before = 0;
    bool m_Available = false;
};
