#pragma once
// What the slide show asks of the system while it runs. Windows: the screen's own pixels (a
// program that does not say it draws at the screen's resolution gets a window of scaled pixels,
// and its photos are stretched) and a 1 ms timer resolution (or the show's 5 ms waits last a
// whole scheduler tick, up to 15.6 ms). Linux: nothing to ask for.
#include <memory>

class ShowEnvironment {
public:
    virtual ~ShowEnvironment() = default;

    // Makes the process draw in the screen's pixels (per-monitor aware where the system knows it,
    // system aware otherwise). Before the show opens its first window.
    virtual void UseScreenPixels() = 0;
    // timeBeginPeriod(1) and timeEndPeriod(1); each begin is matched by exactly one end.
    virtual void BeginFineTimerResolution() = 0;
    virtual void EndFineTimerResolution() = 0;

protected:
    ShowEnvironment() = default;
    ShowEnvironment(const ShowEnvironment&) = delete;
    ShowEnvironment& operator=(const ShowEnvironment&) = delete;
};

std::unique_ptr<ShowEnvironment> CreateSystemShowEnvironment();

// Holds the fine timer resolution while it lives, and gives it back on every way out.
class FineTimerResolution {
public:
    explicit FineTimerResolution(ShowEnvironment& environment) : m_Environment(environment)
    {
        m_Environment.BeginFineTimerResolution();
    }
    ~FineTimerResolution() { m_Environment.EndFineTimerResolution(); }
    FineTimerResolution(const FineTimerResolution&) = delete;
    FineTimerResolution& operator=(const FineTimerResolution&) = delete;

private:
    ShowEnvironment& m_Environment;
};
