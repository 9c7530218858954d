#pragma once
// The application object: framework start-up and the event loop of the UI thread.
//
// A mode creates at most one main window; Run() dispatches events until that window closes
// and returns at once when none was created. Windows (the slide-show window, the dialogs)
// register with the application when they become the main window.
class Application {
public:
    static Application& Instance();

    // Prepares the UI framework. On Linux the display is opened lazily, so modes that show
    // nothing run without one.
    void Initialize();

    // The main window's owner calls these: Run() loops while a main window is open.
    void SetMainWindowOpen(bool open) { m_MainWindowOpen = open; }
    bool MainWindowOpen() const { return m_MainWindowOpen; }

    // Runs the event loop until the main window closes; returns at once without one.
    void Run();

    // Asks the running loop to end.
    void Terminate();

private:
    Application() = default;
    bool m_MainWindowOpen = false;
};
