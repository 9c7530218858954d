#pragma once
// A small up-down control: two arrows stacked in one area that ask for a step of 1 up or down
// on a click (repeating while held) or the Up and Down keys. Its owner decides the position.
#include <gtk/gtk.h>

#include <functional>

class IntervalSpin {
public:
    // stepped is told the position a step asks for, one from the current one.
    explicit IntervalSpin(std::function<void(int)> stepped);
    ~IntervalSpin();
    IntervalSpin(const IntervalSpin&) = delete;
    IntervalSpin& operator=(const IntervalSpin&) = delete;

    GtkWidget* Widget() const { return m_Area; }
    int Position() const { return m_Position; }
    // Taken as it is; stepped is not told.
    void SetPosition(int position) { m_Position = position; }
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
    int m_Position = 0;
    std::function<void(int)> m_Stepped;
    int m_Held = 0;          // the arrow held down: +1, -1 or 0
    guint m_RepeatSource = 0;
};
