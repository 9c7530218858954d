#pragma once
// What the animations (the transitions and the fade of the outgoing photo) need from the
// slide-show window: the wait before each step and the presentation after it.

class EffectHost {
public:
    // Waits briefly and processes pending messages. False means stop now: the window is closing
    // or another photo was asked for, and the bitmaps may no longer be touched.
    virtual bool WaitStep() = 0;
    // Shows the back buffer on the screen.
    virtual void PresentFrame() = 0;

protected:
    EffectHost() = default;
    EffectHost(const EffectHost&) = default;
    EffectHost& operator=(const EffectHost&) = default;
    ~EffectHost() = default;
};
