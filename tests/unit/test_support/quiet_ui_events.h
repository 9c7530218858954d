#pragma once
// A window's events that do nothing, closes allowed: a test overrides what it watches.
#include "platform/ui_host.h"

class QuietUiEvents : public UiEvents {
public:
    void KeyDown(int, ShiftState) override {}
    void MouseDown(MouseButton, Point) override {}
    void MouseMove(Point) override {}
    void Paint() override {}
    bool CloseQuery() override { return true; }
    void Closed() override {}
    void TimerTick(int) override {}
    void MediaNotify(unsigned) override {}
};
