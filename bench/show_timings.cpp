// The slide show as a whole on the OS's own UI host (it needs a display; Xvfb will do):
//  - each transition's wall time from its first wait to its last step, against its nominal
//    length of one 5 ms wait a step, on a photo of the screen's size;
//  - the time from a Timer1 tick to the first frame of the transition, for a 6000 x 4000 JPEG,
//    against libjpeg decoding the same file at full size, with the fade of the last photo off
//    and on.
// The window runs over the OS's own host wrapped in one that times each wait, present and line
// of text. The photos are made with ImageMagick in the program's directory on first use.
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

// jpeglib.h needs FILE and size_t declared first (above).
#include <jpeglib.h>

#include "app/random_generator.h"
#include "platform/saver_system.h"
#include "platform/show_environment.h"
#include "platform/ui_host.h"
#include "slideshow/slideshow_window.h"
#include "slideshow/transitions.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWaitStepMs = 5;
// The ratio a transition or a first frame may reach; --goal changes it (1.5 is asked at 4K).
double g_GoalRatio = 1.2;
constexpr double kStandingGoalPercent = 1.0;
constexpr Size kLargePhoto{6000, 4000};
constexpr int kBandHeight = 100;
// Time left to the display and the machine between steps, as the interval between slides does.
constexpr auto kPause = std::chrono::milliseconds(200);
constexpr auto kWindowSettle = std::chrono::milliseconds(1500);

double Millis(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

enum class CallKind { Wait, Present, Text };

struct HostCall {
    CallKind kind;
    Clock::time_point begin;
    Clock::time_point end;
    // The step had loaded its new photo when the call ended: the call is the transition's.
    bool transition;
    double Ms() const { return Millis(begin, end); }
};

// Forwards everything to the OS's host and, while recording, times the waits, the presents and
// the text. With cutShort, a Right key arrives in the wait after the transition's first frame,
// as if pressed then: the transition stops there, as it does for a user.
class TimingHost final : public UiHost {
public:
    explicit TimingHost(std::unique_ptr<UiHost> os) : m_Os(std::move(os)) {}

    void StartRecording(std::function<bool()> inTransition, bool cutShort)
    {
        m_Calls.clear();
        m_InTransition = std::move(inTransition);
        m_CutShort = cutShort;
        m_KeyDue = false;
        m_KeySent = false;
        m_Recording = true;
    }
    std::vector<HostCall> StopRecording()
    {
        m_Recording = false;
        m_InTransition = nullptr;
        return std::move(m_Calls);
    }

    void OpenFullScreenWindow(UiEvents& events, bool topMost) override
    {
        m_Events = &events;
        m_Os->OpenFullScreenWindow(events, topMost);
    }
    Size ScreenSize() const override { return m_Os->ScreenSize(); }
    double RefreshRate() const override { return m_Os->RefreshRate(); }
    NativeWindow Window() const override { return m_Os->Window(); }
    void RequestClose() override { m_Os->RequestClose(); }
    void Run() override { m_Os->Run(); }
    void WaitAndDispatch(int maxMs) override
    {
        const Clock::time_point begin = Clock::now();
        m_Os->WaitAndDispatch(maxMs);
        Note(CallKind::Wait, begin);
        if (m_KeyDue && m_Events) {
            m_KeyDue = false;
            m_Events->KeyDown(vk::Right, ShiftState{});
        }
    }
    void StartTimer(int timerId, int intervalMs) override { m_Os->StartTimer(timerId, intervalMs); }
    void StopTimer(int timerId) override { m_Os->StopTimer(timerId); }
    void Post(std::function<void()> task) override { m_Os->Post(std::move(task)); }
    int WorkerMessageBox(const std::string& text, const std::string& caption, unsigned style) override
    {
        return m_Os->WorkerMessageBox(text, caption, style);
    }
    std::unique_ptr<MediaPlayer> CreateMediaPlayer() override { return m_Os->CreateMediaPlayer(); }
    NativeWindow MediaNotifyWindow() const override { return m_Os->MediaNotifyWindow(); }
    void DeliverMediaNotify(unsigned flags) override { m_Os->DeliverMediaNotify(flags); }
    void Present(const Bitmap& frame) override
    {
        const Clock::time_point begin = Clock::now();
        m_Os->Present(frame);
        Note(CallKind::Present, begin);
    }
    void Present(const Bitmap& frame, const Rect& changed) override
    {
        const Clock::time_point begin = Clock::now();
        m_Os->Present(frame, changed);
        Note(CallKind::Present, begin);
    }
    void DrawText(Bitmap& target, const TextFont& font, Point topLeft, std::string_view text) override
    {
        const Clock::time_point begin = Clock::now();
        m_Os->DrawText(target, font, topLeft, text);
        Note(CallKind::Text, begin);
    }

private:
    void Note(CallKind kind, Clock::time_point begin)
    {
        const Clock::time_point end = Clock::now();
        if (!m_Recording) return;
        const bool transition = m_InTransition && m_InTransition();
        m_Calls.push_back(HostCall{kind, begin, end, transition});
        if (kind == CallKind::Present && transition && m_CutShort && !m_KeySent) {
            m_KeyDue = true;
            m_KeySent = true;
        }
    }

    std::unique_ptr<UiHost> m_Os;
    UiEvents* m_Events = nullptr;
    bool m_Recording = false;
    std::function<bool()> m_InTransition;
    bool m_CutShort = false;
    bool m_KeyDue = false;
    bool m_KeySent = false;
    std::vector<HostCall> m_Calls;
};

// A smooth plasma with grain at quality 90, made small and enlarged so that it takes seconds,
// not minutes; the large one is the same file the image loading benchmark decodes.
std::optional<std::string> MakePhoto(Size size, int seed, const std::string& name)
{
    const std::string file = std::string(TOVELIN_BENCH_WORK_DIR) + "/" + name;
    if (std::filesystem::exists(file)) return file;
    const std::string dimensions = std::to_string(size.width) + "x" + std::to_string(size.height);
    const std::string seedSize = std::to_string(std::max(size.width / 4, 1)) + "x" +
                                 std::to_string(std::max(size.height / 4, 1));
    const std::string command = "convert -size " + seedSize + " -seed " + std::to_string(seed) +
                                " plasma:fractal -resize '" + dimensions +
                                "!' -attenuate 0.4 +noise Gaussian -quality 90 -sampling-factor 2x2 '" + file +
                                ".tmp.jpg' && mv '" + file + ".tmp.jpg' '" + file + "'";
    if (std::system(command.c_str()) != 0 || !std::filesystem::exists(file)) {
        std::fprintf(stderr, "show_timings: could not make %s with ImageMagick's convert\n", file.c_str());
        return std::nullopt;
    }
    return file;
}

struct DecodeErrors {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer converts back
    std::jmp_buf jump;
};

[[noreturn]] void LeaveDecode(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<DecodeErrors*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// One full-size decode of the file with libjpeg alone, the way the reader decodes (islow DCT,
// straight to blue-green-red-unused), into a buffer kept between calls; its time in
// milliseconds, or nothing when the file cannot be decoded.
std::optional<double> DecodeOnce(const std::string& path, std::vector<JSAMPLE>& pixels)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    jpeg_decompress_struct info{};
    DecodeErrors errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = LeaveDecode;
    errors.pub.output_message = IgnoreMessage;
    // Nothing with a destructor lives from here to the end of the decode: longjmp skips it.
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return std::nullopt;
    }
    const Clock::time_point begin = Clock::now();
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    const std::size_t stride = std::size_t{info.output_width} * 4;
    if (pixels.size() < stride * info.output_height) pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    const Clock::time_point end = Clock::now();
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return Millis(begin, end);
}

// libjpeg alone on the photo, timed again before every step it is compared with, so that both
// see the same load on a shared machine. Its buffer is kept, as the show keeps its bitmaps.
class BareDecode {
public:
    explicit BareDecode(std::string path) : m_Path(std::move(path)) {}

    // The fastest of three: a first decode may pay for the buffer's pages and the file's reading.
    std::optional<double> BestOfThreeMs()
    {
        std::optional<double> best;
        for (int run = 0; run < 3; ++run) {
            const std::optional<double> ms = DecodeOnce(m_Path, m_Pixels);
            if (!ms) return std::nullopt;
            best = best ? std::min(*best, *ms) : *ms;
        }
        return best;
    }

private:
    std::string m_Path;
    std::vector<JSAMPLE> m_Pixels;
};

// A seed after which the step's one draw (the photo choice draws nothing without randomness)
// picks `effect`, found with the program's own generator.
std::uint32_t SeedFor(int effect)
{
    for (std::uint32_t seed = 1;; ++seed) {
        SetRandomSeed(seed);
        if (RandomDraw() % static_cast<int>(TransitionEffects::kEffectCount) == effect) return seed;
    }
}

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    if (!(file >> one >> five >> fifteen)) return "unknown";
    return one + " " + five + " " + fifteen;
}

std::string Now()
{
    const std::time_t now = std::time(nullptr);
    char text[64] = "";
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&now));
    return text;
}

// The slide-show window as a test sets it up, over the timing host, with its window open.
class Show {
public:
    explicit Show(TimingHost& host) : m_Host(host), m_Window(host)
    {
        const Size screen = host.ScreenSize();
        m_Window.SetClientSize(screen);
        m_Window.m_ScreenBitmap->SetSize(screen.width, screen.height);
        m_Window.m_InfoBitmap = std::make_unique<Bitmap>(static_cast<int>(screen.width * 0.9), kBandHeight, kWhite);
        m_Window.m_OsVersion.platformId = kPlatformNt;
        m_Window.m_DisableRandom = true;
        // No photo yet: the paint that the window's first exposure brings draws nothing.
        host.OpenFullScreenWindow(m_Window, false);
        Pause(kWindowSettle);
    }
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;
    ~Show() { m_Host.RequestClose(); }

    struct Step {
        Clock::time_point start;
        std::vector<HostCall> calls;
    };

    // One slide step on `photo` with the given effect, from a Timer1 tick or from a paint.
    Step Run(const std::string& photo, int effect, bool fromTick, bool fade, bool cutShort)
    {
        m_Window.m_FadeOutLastPhoto = fade;
        *m_Window.m_PhotoList = {photo};
        SetRandomSeed(m_Seeds.at(static_cast<std::size_t>(effect)));
        // The step loads a new photo before its transition: until then the calls are the fade's.
        const Pixel* before = m_Window.m_PhotoBitmap->Data();
        const auto loaded = [this, before] {
            return m_Window.m_PhotoBitmap && m_Window.m_PhotoBitmap->Data() != before;
        };
        m_Host.StartRecording(loaded, cutShort);
        Step step;
        if (fromTick) {
            // A tick comes from a running Timer1.
            m_Window.Timer1.SetEnabled(true);
            step.start = Clock::now();
            m_Window.Timer1Timer();
        } else {
            step.start = Clock::now();
            m_Window.paintBoxPaint();
        }
        step.calls = m_Host.StopRecording();
        // Nothing runs between steps: no ticks, no request left over, no photo for a stray paint.
        m_Window.Timer1.SetEnabled(false);
        m_Window.Timer2.SetEnabled(false);
        m_Window.m_NavRequest = 0;
        m_Window.m_PhotoList->clear();
        Pause(kPause);
        return step;
    }

    Size PhotoSize() const { return m_Window.m_PhotoBitmap ? m_Window.m_PhotoBitmap->GetSize() : Size{}; }

    // The photo stands, with the overlay and its clock refreshed by Timer2, for `length`; the
    // loop waits as the program's own does between slides, waking for timers only.
    void Stand(Clock::duration length)
    {
        m_Window.Timer2.SetEnabled(true);
        const Clock::time_point until = Clock::now() + length;
        while (Clock::now() < until) m_Host.WaitAndDispatch(1000);
        m_Window.Timer2.SetEnabled(false);
    }

private:
    void Pause(Clock::duration length)
    {
        const Clock::time_point until = Clock::now() + length;
        while (Clock::now() < until) m_Host.WaitAndDispatch(10);
    }

    TimingHost& m_Host;
    TfrmMain m_Window;
    std::vector<std::uint32_t> m_Seeds = [] {
        std::vector<std::uint32_t> seeds;
        for (unsigned effect = 0; effect < TransitionEffects::kEffectCount; ++effect)
            seeds.push_back(SeedFor(static_cast<int>(effect)));
        return seeds;
    }();
};

struct TransitionTiming {
    int waits = 0;
    double wallMs = 0;
    double waitMs = 0;
    double presentMs = 0;
    double textMs = 0;
};

std::optional<TransitionTiming> TimeTransition(const Show::Step& step)
{
    TransitionTiming timing;
    std::optional<Clock::time_point> first;
    std::optional<Clock::time_point> last;
    for (const HostCall& call : step.calls) {
        if (!call.transition) continue;
        // The end of the last call: a step whose frame shows no change (a dissolve that has
        // reached its photo) presents nothing, but its wait still counts.
        last = call.end;
        switch (call.kind) {
        case CallKind::Wait:
            ++timing.waits;
            timing.waitMs += call.Ms();
            if (!first) first = call.begin;
            break;
        case CallKind::Present: timing.presentMs += call.Ms(); break;
        case CallKind::Text: timing.textMs += call.Ms(); break;
        }
    }
    if (!first || !last) return std::nullopt;
    timing.wallMs = Millis(*first, *last);
    return timing;
}

struct FirstFrameTiming {
    double decodeMs = 0;       // the bare decode just before the step
    double firstFrameMs = 0;   // from the tick to the end of the transition's first present
    double fadeMs = 0;         // from the tick to the end of the fade's last present
    int fadeWaits = 0;
    double loadMs = 0;         // from the fade's end (or the tick) to the transition's first wait
    double waitMs = 0;         // the transition's first wait
    double composeMs = 0;      // its first step drawn and the frame composed, text included
    double textMs = 0;
    double presentMs = 0;      // the host's present of that frame
};

std::optional<FirstFrameTiming> TimeFirstFrame(const Show::Step& step)
{
    FirstFrameTiming timing;
    Clock::time_point fadeEnd = step.start;
    const HostCall* wait = nullptr;
    for (const HostCall& call : step.calls) {
        if (!call.transition) {
            if (call.kind == CallKind::Wait) ++timing.fadeWaits;
            if (call.kind == CallKind::Present) fadeEnd = call.end;
            continue;
        }
        if (call.kind == CallKind::Wait && !wait) wait = &call;
        if (call.kind == CallKind::Text && wait) timing.textMs += call.Ms();
        if (call.kind == CallKind::Present && wait) {
            timing.firstFrameMs = Millis(step.start, call.end);
            timing.fadeMs = Millis(step.start, fadeEnd);
            timing.loadMs = Millis(fadeEnd, wait->begin);
            timing.waitMs = wait->Ms();
            timing.composeMs = Millis(wait->end, call.begin);
            timing.presentMs = call.Ms();
            return timing;
        }
    }
    return std::nullopt;
}

template <typename Record, typename Field>
double MedianOf(const std::vector<Record>& records, Field field)
{
    std::vector<double> values;
    for (const Record& record : records) values.push_back(static_cast<double>(field(record)));
    return Median(values);
}

const char* Verdict(double ratio) { return ratio <= g_GoalRatio ? "ok" : "MISSED"; }

// The effects to time: all, or the one asked for.
struct EffectRange {
    unsigned first = 0;
    unsigned end = TransitionEffects::kEffectCount;
};

void MeasureTransitions(Show& show, const std::string (&photos)[2], int rounds, Size screen, EffectRange effects)
{
    constexpr unsigned kEffects = TransitionEffects::kEffectCount;
    std::vector<std::vector<TransitionTiming>> timings(kEffects);
    int next = 0;
    for (int round = 0; round < rounds; ++round) {
        for (unsigned effect = effects.first; effect < effects.end; ++effect) {
            // The two photos take turns, so that every step changes the picture.
            const Show::Step step = show.Run(photos[next], static_cast<int>(effect), false, false, false);
            next = 1 - next;
            if (const auto timing = TimeTransition(step)) timings[effect].push_back(*timing);
        }
    }
    std::printf("\n(a) Transitions on a %dx%d photo: wall time from the first wait to the last step,\n"
                "    against the nominal %d ms a step; medians of %d runs; goal at most %.1fx\n",
                screen.width, screen.height, kWaitStepMs, rounds, g_GoalRatio);
    std::printf(" #  effect             steps  nominal ms    wall ms  ratio        in waits  in present  text  "
                "drawing+compose (ms)\n");
    for (unsigned effect = effects.first; effect < effects.end; ++effect) {
        const auto& runs = timings[effect];
        if (runs.empty()) {
            std::printf("%2u  %-17s  no transition recorded\n", effect,
                        std::string(TransitionEffects::EffectName(effect)).c_str());
            continue;
        }
        const double waits = MedianOf(runs, [](const TransitionTiming& t) { return t.waits; });
        const double wall = MedianOf(runs, [](const TransitionTiming& t) { return t.wallMs; });
        const double inWaits = MedianOf(runs, [](const TransitionTiming& t) { return t.waitMs; });
        const double inPresent = MedianOf(runs, [](const TransitionTiming& t) { return t.presentMs; });
        const double text = MedianOf(runs, [](const TransitionTiming& t) { return t.textMs; });
        const double rest =
            MedianOf(runs, [](const TransitionTiming& t) { return t.wallMs - t.waitMs - t.presentMs; });
        const double nominal = waits * kWaitStepMs;
        const double ratio = nominal > 0 ? wall / nominal : 0.0;
        std::printf("%2u  %-17s %6.0f %11.0f %10.0f %6.2f %-7s %8.0f %11.0f %5.0f %8.0f\n", effect,
                    std::string(TransitionEffects::EffectName(effect)).c_str(), waits, nominal, wall, ratio,
                    Verdict(ratio), inWaits, inPresent, text, rest);
    }
}

void MeasureFirstFrames(Show& show, const std::string& before, const std::string& large, BareDecode& decode,
                        int rounds, EffectRange effects)
{
    constexpr unsigned kEffects = TransitionEffects::kEffectCount;
    std::vector<std::vector<FirstFrameTiming>> timings[2]{std::vector<std::vector<FirstFrameTiming>>(kEffects),
                                                          std::vector<std::vector<FirstFrameTiming>>(kEffects)};
    std::vector<double> decodes;
    for (int fade = 0; fade < 2; ++fade) {
        for (int round = 0; round < rounds; ++round) {
            for (unsigned effect = effects.first; effect < effects.end; ++effect) {
                // A photo of the screen's size before: the large one then changes the picture's
                // size, and with the fade on there is a photo to fade.
                show.Run(before, static_cast<int>(effect), true, fade != 0, true);
                const std::optional<double> decodeMs = decode.BestOfThreeMs();
                if (!decodeMs) continue;
                decodes.push_back(*decodeMs);
                const Show::Step step = show.Run(large, static_cast<int>(effect), true, fade != 0, true);
                if (auto timing = TimeFirstFrame(step)) {
                    timing->decodeMs = *decodeMs;
                    timings[fade][effect].push_back(*timing);
                }
            }
        }
    }
    if (decodes.empty()) {
        std::printf("\n(b) libjpeg could not decode %s\n", large.c_str());
        return;
    }
    std::printf("\n(b) From a Timer1 tick to the first frame of the transition, %dx%d JPEG after a photo of the\n"
                "    screen's size; medians of %d runs; ratio: to a bare libjpeg decode (best of 3) timed just\n"
                "    before each step, median %.1f ms (%.1f to %.1f); goal at most %.1fx\n",
                kLargePhoto.width, kLargePhoto.height, rounds, Median(decodes),
                *std::min_element(decodes.begin(), decodes.end()), *std::max_element(decodes.begin(), decodes.end()),
                g_GoalRatio);
    for (int fade = 0; fade < 2; ++fade) {
        if (fade == 0) {
            std::printf("    fade off\n #  effect              first frame ms  ratio        load  first wait  "
                        "compose  (text)  present (ms)\n");
        } else {
            std::printf("    fade on: the fade's waits come first; \"after fade\" is from its last frame\n"
                        " #  effect              first frame ms  ratio   fade waits  fade ms  after fade ms  ratio"
                        "        load  first wait  compose  (text)  present (ms)\n");
        }
        for (unsigned effect = effects.first; effect < effects.end; ++effect) {
            const auto& runs = timings[fade][effect];
            const std::string name(TransitionEffects::EffectName(effect));
            if (runs.empty()) {
                std::printf("%2u  %-17s  no first frame recorded\n", effect, name.c_str());
                continue;
            }
            const double first = MedianOf(runs, [](const FirstFrameTiming& t) { return t.firstFrameMs; });
            const double load = MedianOf(runs, [](const FirstFrameTiming& t) { return t.loadMs; });
            const double wait = MedianOf(runs, [](const FirstFrameTiming& t) { return t.waitMs; });
            const double compose = MedianOf(runs, [](const FirstFrameTiming& t) { return t.composeMs; });
            const double text = MedianOf(runs, [](const FirstFrameTiming& t) { return t.textMs; });
            const double present = MedianOf(runs, [](const FirstFrameTiming& t) { return t.presentMs; });
            const double ratio = MedianOf(runs, [](const FirstFrameTiming& t) { return t.firstFrameMs / t.decodeMs; });
            if (fade == 0) {
                std::printf("%2u  %-17s %15.1f %6.2f %-7s %6.1f %11.1f %8.1f %7.1f %8.1f\n", effect, name.c_str(),
                            first, ratio, Verdict(ratio), load, wait, compose, text, present);
            } else {
                const double fadeWaits = MedianOf(runs, [](const FirstFrameTiming& t) { return t.fadeWaits; });
                const double fadeMs = MedianOf(runs, [](const FirstFrameTiming& t) { return t.fadeMs; });
                const double after =
                    MedianOf(runs, [](const FirstFrameTiming& t) { return t.firstFrameMs - t.fadeMs; });
                const double afterRatio =
                    MedianOf(runs, [](const FirstFrameTiming& t) { return (t.firstFrameMs - t.fadeMs) / t.decodeMs; });
                std::printf("%2u  %-17s %15.1f %6.2f %12.0f %8.1f %14.1f %6.2f %-7s %6.1f %11.1f %8.1f %7.1f %8.1f\n",
                            effect, name.c_str(), first, ratio, fadeWaits, fadeMs, after, afterRatio,
                            Verdict(afterRatio), load, wait, compose, text, present);
            }
        }
    }
}

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Another process's user and system time so far, from /proc; nothing when it cannot be read.
std::optional<double> OtherProcessCpuMs(int pid)
{
#ifndef _SC_CLK_TCK
    // Windows has no /proc to read, and a program under Wine cannot see the X server's.
    (void)pid;
    return std::nullopt;
#else
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(file, text)) return std::nullopt;
    // The fields after the parenthesised name: state is the 3rd, utime the 14th, stime the 15th.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = close + 2; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += text[i];
        }
    }
    if (fields.size() < 13) return std::nullopt;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (std::stod(fields[11]) + std::stod(fields[12])) * 1000.0 / ticks;
#endif
}

// (c) The CPU that a standing show with the clock on costs this program and the X server.
void MeasureStanding(Show& show, const std::string& photo, int seconds, int xServerPid, Size screen)
{
    show.Run(photo, 0, false, false, true);
    const double ownBefore = ProcessCpuMs();
    // Negative: not known.
    const double xBefore = xServerPid > 0 ? OtherProcessCpuMs(xServerPid).value_or(-1.0) : -1.0;
    const Clock::time_point begin = Clock::now();
    show.Stand(std::chrono::seconds(seconds));
    const double wallMs = Millis(begin, Clock::now());
    const double own = ProcessCpuMs() - ownBefore;
    const double xAfter = xServerPid > 0 ? OtherProcessCpuMs(xServerPid).value_or(-1.0) : -1.0;
    std::printf("\n(c) A standing show with every line of the overlay and the clock, %d s at %dx%d;\n"
                "    CPU in percent of one core; goal at most %.1f %% for the program and the X server together\n",
                seconds, screen.width, screen.height, kStandingGoalPercent);
    const double ownPercent = 100.0 * own / wallMs;
    std::printf("    program   %8.1f ms  %6.3f %%\n", own, ownPercent);
    if (xBefore >= 0 && xAfter >= 0) {
        const double xPercent = 100.0 * (xAfter - xBefore) / wallMs;
        const double total = ownPercent + xPercent;
        std::printf("    X server  %8.1f ms  %6.3f %%\n    together             %6.3f %%  %s\n", xAfter - xBefore,
                    xPercent, total, total <= kStandingGoalPercent ? "ok" : "MISSED");
    } else {
        std::printf("    X server  not measured (give --x-server-pid)\n");
    }
}

// A whole number from 0 to most, or -1.
int CountArgument(const char* text, long most)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 && value <= most ? static_cast<int>(value) : -1;
}

} // namespace

int main(int argc, char** argv)
{
    int transitionRounds = 3;
    int firstFrameRounds = 5;
    bool fineTimer = true;
    int standingSeconds = 0;
    int xServerPid = 0;
    EffectRange effects;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--timer-resolution" && i + 1 < argc) {
            const std::string choice = argv[++i];
            if (choice != "fine" && choice != "system") {
                std::fprintf(stderr, "show_timings: --timer-resolution takes fine or system\n");
                return 2;
            }
            fineTimer = choice == "fine";
            continue;
        }
        const bool rounds = argument == "--transition-rounds" || argument == "--first-frame-rounds";
        if (argument == "--goal" && i + 1 < argc) {
            g_GoalRatio = std::atof(argv[++i]);
            if (g_GoalRatio <= 0) {
                std::fprintf(stderr, "show_timings: --goal takes a ratio above 0\n");
                return 2;
            }
        } else if ((argument == "--standing" || argument == "--x-server-pid") && i + 1 < argc) {
            const int value = CountArgument(argv[++i], argument == "--standing" ? 3600 : 1 << 22);
            if (value < 0) {
                std::fprintf(stderr, "show_timings: %s takes a whole number\n", argument.c_str());
                return 2;
            }
            (argument == "--standing" ? standingSeconds : xServerPid) = value;
        } else if ((rounds || argument == "--effect") && i + 1 < argc) {
            const long most = rounds ? 1000 : TransitionEffects::kEffectCount - 1;
            const int value = CountArgument(argv[++i], most);
            if (value < 0) {
                std::fprintf(stderr, "show_timings: %s takes a number from 0 to %ld\n", argument.c_str(), most);
                return 2;
            }
            if (argument == "--transition-rounds") transitionRounds = value;
            if (argument == "--first-frame-rounds") firstFrameRounds = value;
            if (argument == "--effect") {
                const auto effect = static_cast<unsigned>(value);
                effects = EffectRange{effect, effect + 1};
            }
        } else {
            std::fprintf(stderr,
                         "usage: show_timings [--transition-rounds N (3)] [--first-frame-rounds N (5)]"
                         " [--effect 0-12] [--goal RATIO (1.2)] [--standing SECONDS [--x-server-pid PID]]"
                         " [--timer-resolution fine|system (fine)]\n"
                         "Times the slide show on the display in DISPLAY; 0 rounds skips a part. The show\n"
                         "holds a 1 ms timer resolution (fine); system leaves the system's own.\n");
            return 2;
        }
    }

    // As the show itself: the screen's own pixels, and the timer resolution chosen.
    const std::unique_ptr<ShowEnvironment> environment = CreateSystemShowEnvironment();
    environment->UseScreenPixels();
    std::optional<FineTimerResolution> fineTimerResolution;
    if (fineTimer) fineTimerResolution.emplace(*environment);

    TimingHost host(CreateUiHost());
    const Size screen = host.ScreenSize();
    if (screen.IsEmpty()) {
        std::fprintf(stderr, "show_timings: no display (is DISPLAY set? try xvfb-run -s '-screen 0 1920x1080x24')\n");
        return 2;
    }
    const std::string sizeName = std::to_string(screen.width) + "x" + std::to_string(screen.height);
    const auto screenA = MakePhoto(screen, 11, "show-" + sizeName + "-a.jpg");
    const auto screenB = MakePhoto(screen, 12, "show-" + sizeName + "-b.jpg");
    const auto large = MakePhoto(kLargePhoto, 5, "photo-6000x4000.jpg");
    if (!screenA || !screenB || !large) return 2;
    BareDecode decode(*large);
    if (!decode.BestOfThreeMs()) {
        std::fprintf(stderr, "show_timings: libjpeg cannot decode %s\n", large->c_str());
        return 2;
    }

    const std::string loadBefore = LoadAverage();
    std::printf("Slide show timings, %s: screen %s, load average %s on %u CPUs, %s timer resolution\n",
                Now().c_str(), sizeName.c_str(), loadBefore.c_str(), std::thread::hardware_concurrency(),
                fineTimer ? "1 ms" : "the system's");
    std::fflush(stdout);
    {
        Show show(host);
        // Fonts, caches and the display's first frames come before anything is timed.
        show.Run(*screenA, 11, false, false, true);
        show.Run(*large, 11, true, false, true);
        show.Run(*screenB, 11, true, true, true);
        if (show.PhotoSize() != screen) {
            std::fprintf(stderr, "show_timings: the photo of the screen's size was not loaded at that size\n");
            return 1;
        }
        if (transitionRounds > 0) {
            const std::string photos[2] = {*screenA, *screenB};
            MeasureTransitions(show, photos, transitionRounds, screen, effects);
            std::fflush(stdout);
        }
        if (firstFrameRounds > 0) MeasureFirstFrames(show, *screenA, *large, decode, firstFrameRounds, effects);
        if (standingSeconds > 0) MeasureStanding(show, *screenA, standingSeconds, xServerPid, screen);
    }
    std::printf("\nload average before %s, after %s\n", loadBefore.c_str(), LoadAverage().c_str());
    return 0;
}
