#include "unit/test_support/scripted_ui_host.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "gfx/error.h"

namespace {

class ScriptedMediaPlayer final : public MediaPlayer {
public:
    ScriptedMediaPlayer(ScriptedUiHost& host, ScriptedPlayerState& state) : m_Host(host), m_State(state) {}

    void Open(const std::string& path, bool wait, bool notify) override
    {
        m_State.commands.push_back({"open", path, wait, notify});
        m_State.mode = 1;
        m_State.file.clear();
        if (path.find("bad") != std::string::npos) throw Error("The file cannot be played");
        m_State.file = path;
        if (notify) m_Host.Post([this] { m_Host.DeliverMediaNotify(mcinotify::Successful); });
    }
    void Play() override
    {
        m_State.commands.push_back({"play", m_State.file, false, true});
        if (m_State.file.empty()) throw Error("No file is open");
        m_State.mode = 2;
    }
    int Mode() override { return m_State.mode; }
    void Close(bool wait) override
    {
        m_State.commands.push_back({"close", m_State.file, wait, false});
        m_State.mode = 1;
        m_State.file.clear();
    }
    std::string ErrorMessage() override { return "done"; }

private:
    ScriptedUiHost& m_Host;
    ScriptedPlayerState& m_State;
};

// Only keys, mouse buttons and paints end a wait early.
bool EndsAWait(const ScriptedUiHost::Input& input)
{
    return std::holds_alternative<ScriptedUiHost::Key>(input) ||
           std::holds_alternative<ScriptedUiHost::MouseDownAt>(input) ||
           std::holds_alternative<ScriptedUiHost::PaintRequest>(input);
}

} // namespace

void ScriptedUiHost::QueueAtWait(int waitsFromNow, Input input)
{
    m_AtWait[m_Waits + waitsFromNow].push_back(std::move(input));
}

void ScriptedUiHost::QueueAtTime(std::int64_t timeMs, Input input)
{
    m_AtTime.push_back(Timed{timeMs, std::move(input)});
    std::stable_sort(m_AtTime.begin(), m_AtTime.end(), [](const Timed& a, const Timed& b) { return a.time < b.time; });
}

std::vector<ScriptedUiHost::MessageBoxCall> ScriptedUiHost::MessageBoxes() const
{
    std::lock_guard lock(m_Mutex);
    return m_Boxes;
}

void ScriptedUiHost::OpenFullScreenWindow(UiEvents& events, bool topMost)
{
    WindowOpened(events);
    m_TopMost = topMost;
}

void ScriptedUiHost::DeliverInput(const Input& input)
{
    if (!WindowOpen()) return;
    if (std::holds_alternative<CloseRequest>(input)) {
        RequestClose();
        return;
    }
    if (const auto* resize = std::get_if<Resize>(&input)) {
        m_Screen = resize->size;
        WindowResized();
        return;
    }
    if (std::holds_alternative<WindowLoss>(input)) {
        WindowLost();
        return;
    }
    Deliver([&](UiEvents& events) {
        if (const auto* key = std::get_if<Key>(&input)) {
            events.KeyDown(key->code, key->shift);
        } else if (const auto* click = std::get_if<MouseDownAt>(&input)) {
            events.MouseDown(click->button, click->at);
        } else if (const auto* move = std::get_if<MouseMoveTo>(&input)) {
            events.MouseMove(move->at);
        } else {
            events.Paint();
        }
    });
}

std::optional<std::int64_t> ScriptedUiHost::NextTimerDue() const
{
    std::optional<std::int64_t> next;
    for (const auto& [id, timer] : m_Timers)
        if (!next || timer.due < *next) next = timer.due;
    return next;
}

std::optional<std::int64_t> ScriptedUiHost::NextTimedInput() const
{
    if (m_AtTime.empty()) return std::nullopt;
    return m_AtTime.front().time;
}

void ScriptedUiHost::TickDueTimers()
{
    // Like WM_TIMER: one tick per due timer and dispatch, however late; handlers may start or
    // stop timers, so the due list is taken first and each one checked again.
    std::vector<std::pair<std::int64_t, int>> due;
    for (const auto& [id, timer] : m_Timers)
        if (timer.due <= m_Now) due.emplace_back(timer.due, id);
    std::sort(due.begin(), due.end());
    for (const auto& [when, id] : due) {
        const auto timer = m_Timers.find(id);
        if (timer == m_Timers.end() || timer->second.due > m_Now) continue;
        timer->second.due = m_Now + timer->second.interval;
        TimerTicked(id);
    }
}

void ScriptedUiHost::DeliverDueInputs()
{
    while (!m_AtTime.empty() && m_AtTime.front().time <= m_Now) {
        const Input input = m_AtTime.front().input;
        m_AtTime.erase(m_AtTime.begin());
        DeliverInput(input);
    }
}

void ScriptedUiHost::WaitAndDispatch(int maxMs)
{
    const int wait = m_Waits++;
    std::vector<Input> arriving;
    if (const auto found = m_AtWait.find(wait); found != m_AtWait.end()) {
        arriving = std::move(found->second);
        m_AtWait.erase(found);
    }
    // The wait ends early when an input that wakes it is waiting, or arrives within maxMs.
    std::int64_t end = m_Now + std::max(maxMs, 0);
    if (std::any_of(arriving.begin(), arriving.end(), EndsAWait)) end = m_Now;
    for (const Timed& timed : m_AtTime)
        if (timed.time <= end && EndsAWait(timed.input)) end = std::max(m_Now, timed.time);
    m_Now = end;

    RunPosted();
    for (const Input& input : arriving) DeliverInput(input);
    DeliverDueInputs();
    TickDueTimers();
}

void ScriptedUiHost::DispatchUntil(const std::function<bool()>& done)
{
    while (!done()) {
        RunPosted();
        if (!done()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void ScriptedUiHost::Run()
{
    while (WindowOpen()) {
        RunPosted();
        DeliverDueInputs();
        TickDueTimers();
        if (!WindowOpen()) break;
        if (HasPostedTasks()) continue;
        std::optional<std::int64_t> next = NextTimerDue();
        if (const auto input = NextTimedInput(); input && (!next || *input < *next)) next = input;
        if (!next || *next > m_RunLimit) return;
        m_Now = std::max(m_Now, *next);
    }
}

void ScriptedUiHost::StartNativeTimer(int timerId, int intervalMs)
{
    if (m_FailingStarts.erase(timerId) != 0) throw Error("Cannot start a timer");
    m_Timers[timerId] = Timer{intervalMs, m_Now + intervalMs};
}

std::optional<int> ScriptedUiHost::ShowWorkerBox(const std::string& text, const std::string& caption, unsigned style)
{
    struct Pending {
        std::optional<int> answer;
    };
    const auto pending = std::make_shared<Pending>();
    Post([this, pending, call = MessageBoxCall{text, caption, style}] {
        std::lock_guard inner(m_Mutex);
        m_Boxes.push_back(call);
        int answer = mb::IdOk;
        if (!m_BoxAnswers.empty()) {
            answer = m_BoxAnswers.front();
            m_BoxAnswers.erase(m_BoxAnswers.begin());
        }
        pending->answer = answer;
        m_BoxAnswered.notify_all();
    });
    std::unique_lock lock(m_Mutex);
    m_BoxAnswered.wait(lock, [&] { return pending->answer.has_value() || m_BoxesCancelled; });
    return pending->answer;
}

void ScriptedUiHost::CancelWorkerBoxes()
{
    const std::lock_guard lock(m_Mutex);
    m_BoxesCancelled = true;
    m_BoxAnswered.notify_all();
}

void ScriptedUiHost::DrawText(Bitmap&, const TextFont& font, Point topLeft, std::string_view text)
{
    // The latest texts only: a long run of frames must not grow the heap.
    if (m_Texts.size() >= kKeptTexts) m_Texts.erase(m_Texts.begin());
    m_Texts.push_back(DrawnText{font, topLeft, std::string(text)});
}

std::vector<std::string> ScriptedPlayerState::Played() const
{
    std::vector<std::string> played;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].what == "play" && !commands[i].path.empty()) played.push_back(commands[i].path);
    }
    return played;
}

std::unique_ptr<MediaPlayer> ScriptedUiHost::CreateMediaPlayer()
{
    return std::make_unique<ScriptedMediaPlayer>(*this, m_Player);
}

void ScriptedUiHost::EndTrack()
{
    m_Player.mode = 1;
    DeliverMediaNotify(mcinotify::Successful);
}
