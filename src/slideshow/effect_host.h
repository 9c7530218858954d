#pragma once
// What the animations (the transitions and the fade of the outgoing photo) need from the
// slide-show window: the wait before each step and the presentation after it.

class EffectHost {
public:
    // An animation begins: its steps are paced from its first wait on.
    virtual void AnimationStarts() {}
    // Waits briefly and processes pending messages. False means stop now: the window is closing
    // or another photo was asked for, and the bitmaps may no longer be touched.
    virtual bool WaitStep() = 0;
    // Shows the back buffer on the screen.
    virtual void PresentFrame() = 0;
    // After each step of an animation. A host may leave out frames the screen could not show
    // anyway, never the animation's last one.
    virtual void PresentStep(bool /*lastStep*/) { PresentFrame(); }

protected:
    EffectHost() = default;
    EffectHost(const EffectHost&) = default;
    EffectHost& operator=(const EffectHost&) = default;
    ~EffectHost() = default;
};
