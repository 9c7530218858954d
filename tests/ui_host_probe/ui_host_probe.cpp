// Exercises the OS's UI host end to end, for tests/integration/test_ui_host.sh: a full-screen
// window with a presented frame and drawn text, a timer, a task posted from a worker thread, a
// message box asked for by that worker, a nested wait that a key ends, and a clean end.
// Each step prints one line on standard output, which the script reads.
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "gfx/raster.h"
#include "platform/ui_host.h"

namespace {

constexpr int kTimerId = 7;
constexpr Pixel kBackground = MakePixel(0x33, 0x66, 0xCC);
constexpr Rect kTextBox{40, 40, 400, 80};

void Say(const char* format, auto... values)
{
    std::printf(format, values...);
    std::printf("\n");
    std::fflush(stdout);
}

class Probe final : public UiEvents {
public:
    explicit Probe(UiHost& host) : m_Host(host), m_UiThread(std::this_thread::get_id()) {}
    ~Probe() { if (m_Worker.joinable()) m_Worker.join(); }

    void Start()
    {
        m_Host.OpenFullScreenWindow(*this, false);
        const Size screen = m_Host.ScreenSize();
        Say("window open %dx%d", screen.width, screen.height);

        Bitmap frame(screen.width, screen.height, kBackground);
        FillRect(frame, kTextBox, kWhite);
        m_Host.DrawText(frame, TextFont{"Arial", 36}, Point{kTextBox.x + 8, kTextBox.y + 8}, "Tovelin");
        Say("text pixels %d", CountDarkPixels(frame, kTextBox));
        m_Host.Present(frame);
        Say("frame presented");

        m_Host.StartTimer(kTimerId, 50);
        m_Worker = std::thread([this] { WorkerBody(); });
    }

    void KeyDown(int key, ShiftState shift) override
    {
        Say("key %d shift=%d ctrl=%d alt=%d", key, shift.shift, shift.ctrl, shift.alt);
        m_KeySeen = true;
    }
    void MouseDown(MouseButton button, Point at) override
    {
        Say("mouse down %d at %d,%d", static_cast<int>(button), at.x, at.y);
    }
    void MouseMove(Point) override {}
    void Paint() override { ++m_Paints; }
    bool CloseQuery() override
    {
        Say("close query");
        return true;
    }
    void Closed() override { Say("closed"); }
    void TimerTick(int timerId) override
    {
        m_Host.StopTimer(timerId);
        Say("timer %d ticked", timerId);
    }
    void MediaNotify(unsigned flags) override { Say("media notify %u", flags); }

private:
    static int CountDarkPixels(const Bitmap& frame, const Rect& box)
    {
        int dark = 0;
        for (int y = box.y; y < box.Bottom(); ++y)
            for (int x = box.x; x < box.Right(); ++x)
                if ((frame.At(x, y) & 0xFFFFFF) < 0x404040) ++dark;
        return dark;
    }

    void WorkerBody()
    {
        m_Host.Post([this] {
            Say("posted task ran on the UI thread: %s", std::this_thread::get_id() == m_UiThread ? "yes" : "no");
        });
        const int answer = m_Host.WorkerMessageBox("Press OK to go on.", "Probe", mb::Ok | mb::IconInformation);
        Say("message box answered %d", answer);
        m_Host.Post([this] { WaitForKey(); });
    }

    // The nested wait of an animation: short waits until a key comes in, then a close.
    void WaitForKey()
    {
        Say("waiting for a key");
        int waits = 0;
        while (!m_KeySeen && waits < 6000) {
            m_Host.WaitAndDispatch(5);
            ++waits;
        }
        Say("wait ended by %s", m_KeySeen ? "a key" : "the time limit");
        m_Host.RequestClose();
        Say("close requested");
    }

    UiHost& m_Host;
    std::thread::id m_UiThread;
    std::thread m_Worker;
    std::atomic<bool> m_KeySeen{false};
    int m_Paints = 0;
};

} // namespace

int main()
{
    const std::unique_ptr<UiHost> host = CreateUiHost();
    Probe probe(*host);
    probe.Start();
    host->Run();
    Say("loop ended");
    return 0;
}
