#pragma once
// How much the resident memory of this process grew at its peak during one step, where the
// system tells it: Linux keeps a high-water mark that a write to clear_refs resets. Under Wine
// the same paths describe another process, so the probe first checks that it sees a block of
// its own; elsewhere nothing is measured.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

class PeakMemoryProbe {
public:
    PeakMemoryProbe()
    {
#if defined(__SANITIZE_THREAD__)
        // The thread sanitizer maps several bytes of shadow for every byte used: the resident
        // size says nothing about the code's own memory.
        return;
#endif
        if (!ResetPeak()) return;
        const std::int64_t before = StatusKilobytes("VmRSS:");
        {
            // Touching every page through volatile writes, which no optimizer may drop.
            std::vector<std::uint8_t> block(kCheckKilobytes * 1024);
            volatile std::uint8_t* bytes = block.data();
            for (std::size_t i = 0; i < block.size(); i += 1024) bytes[i] = 1;
        }
        m_Available = before > 0 && StatusKilobytes("VmHWM:") - before >= kCheckKilobytes / 2 && ResetPeak();
        m_Before = StatusKilobytes("VmRSS:");
    }

    bool Available() const { return m_Available; }

    // Peak resident size since construction, less the resident size at construction.
    std::int64_t GrowthMegabytes() const { return (StatusKilobytes("VmHWM:") - m_Before) / 1024; }

private:
    static constexpr std::int64_t kCheckKilobytes = 16 * 1024;

    static bool ResetPeak()
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5" << std::flush;
        return reset.good();
    }

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
