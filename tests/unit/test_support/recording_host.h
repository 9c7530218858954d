#pragma once
// An effect host for tests: counts the calls, stops on request and keeps copies of chosen frames.
#include <map>
#include <stdexcept>
#include <vector>

#include "gfx/bitmap.h"
#include "slideshow/effect_host.h"

class RecordingHost : public EffectHost {
public:
    static constexpr int kNever = -1;

    explicit RecordingHost(const Bitmap& backBuffer) : m_BackBuffer(backBuffer) {}

    // WaitStep returns false at its call number `step` (counting from 0), and from then on.
    void StopBefore(int step) { m_StopBefore = step; }
    // Keeps a copy of the back buffer as presented in frame number `frame` (counting from 0).
    void Keep(int frame) { m_Kept[frame] = Bitmap{}; }
    void KeepAll() { m_KeepAll = true; }
    // PresentFrame throws for frame number `frame`.
    void FailAt(int frame) { m_FailAt = frame; }

    bool WaitStep() override
    {
        const int call = m_Waits++;
        return m_StopBefore == kNever || call < m_StopBefore;
    }

    void PresentFrame() override
    {
        const int frame = m_Frames++;
        if (frame == m_FailAt) throw std::runtime_error("no drawing resource");
        if (m_KeepAll || m_Kept.contains(frame)) m_Kept[frame] = m_BackBuffer;
    }

    // Counts the frames as PresentFrame does, and notes which were marked last.
    void PresentStep(bool lastStep) override
    {
        if (lastStep) m_LastSteps.push_back(m_Frames);
        PresentFrame();
    }

    int Waits() const { return m_Waits; }
    const std::vector<int>& LastSteps() const { return m_LastSteps; }
    int Frames() const { return m_Frames; }
    const Bitmap& Kept(int frame) const { return m_Kept.at(frame); }

private:
    const Bitmap& m_BackBuffer;
    int m_StopBefore = kNever;
    int m_FailAt = kNever;
    bool m_KeepAll = false;
    int m_Waits = 0;
    int m_Frames = 0;
    std::map<int, Bitmap> m_Kept;
    std::vector<int> m_LastSteps;
};
