#pragma once
// A small up-down control: two arrows stacked in one area, stepping a position by 1 between its
// ends without wrapping, on a click (repeating while held) or the Up and Down keys.
#include <gtk/gtk.h>

#include <functional>

class IntervalSpin {
public:
    // changing is told the new position before it is taken; it is never told a step that would
    // not move.
    IntervalSpin(int minimum, int maximum, std::function<void(int)> changing);
    ~IntervalSpin();
    IntervalSpin(const IntervalSpin&) = delete;
    IntervalSpin& operator=(const IntervalSpin&) = delete;

    GtkWidget* Widget() const { return m_Area; }
    int Position() const { return m_Position; }
    // Taken as it is, brought into range; changing is not told.
    void SetPosition(int position);
    // A step by the user: +1 up, -1 down.
    void Step(int delta);
    // Up and Down: true when the key was one of them.
    bool HandleKey(guint keyval);

private:
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnRepeat(gpointer self);
    static void OnDestroy(GtkWidget* widget, gpointer self);
    void StopRepeat();

    GtkWidget* m_Area = nullptr;
    int m_Minimum;
    int m_Maximum;
    int m_Position;
    std::function<void(int)> m_Changing;
    int m_Held = 0;          // the arrow held down: +1, -1 or 0
    guint m_RepeatSource = 0;
};
