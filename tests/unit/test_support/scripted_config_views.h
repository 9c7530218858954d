#pragma once
// Display-free stand-ins for the configuration dialog's OS side: views that keep the controls'
// state and record what was shown, a shell that records what it was asked to open, and a
// system whose program file and directories a test chooses.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/config_dialog_view.h"
#include "platform/saver_installation.h"
#include "platform/shell.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

class ScriptedAboutView final : public AboutBoxView {
public:
    void SetEvents(AboutBoxEvents& events) override { m_Events = &events; }
    void SetVersionText(const std::string& text) override { m_Version = text; }
    std::string VersionText() const override { return m_Version; }
    void SetLinkTexts(const std::string& web, const std::string& mail) override { webText = web, mailText = mail; }
    void SetLinkLook(AboutLink link, Rgb colour, PointerShape pointer) override { looks[link] = {colour, pointer}; }
    // Runs the actions queued for the box, as a user would while it is open.
    void ShowModal() override
    {
        ++shown;
        for (auto& action : whileOpen) action(*m_Events);
    }
    void Close() override { ++closed; }

    std::vector<std::function<void(AboutBoxEvents&)>> whileOpen;
    std::map<AboutLink, std::pair<Rgb, PointerShape>> looks;
    std::string webText, mailText;
    int shown = 0, closed = 0;

private:
    AboutBoxEvents* m_Events = nullptr;
    std::string m_Version = "Version 1.0.1.1546";
};

class ScriptedConfigView final : public ConfigDialogView {
public:
    void SetEvents(ConfigDialogEvents& events) override { m_Events = &events; }
    void SetPictures(const Bitmap&, const Bitmap&, const Bitmap&) override {}
    void ShowAndRun() override { ++runs; }
    void Close() override { ++closes; }
    NativeWindow Window() const override { return const_cast<ScriptedConfigView*>(this); }

    void ClearDirectories() override { lines.clear(), selected = -1; }
    void AppendDirectory(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> Directories() const override { return lines; }
    int SelectedDirectory() const override { return selected; }
    void DeleteDirectory(int index) override { lines.erase(lines.begin() + index), selected = -1; }

    // A test that sets the position acts as the user moving the control there; the dialog's own
    // call (made while that request runs, or by FormCreate) just sets it.
    void SetIntervalPosition(int position) override
    {
        if (m_Requesting || !m_Events) {
            m_Position = position;
            return;
        }
        m_Requesting = true;
        m_Events->IntervalStepRequested(position);
        m_Requesting = false;
    }
    int IntervalPosition() const override { return m_Position; }
    void SetIntervalText(const std::string& text) override { m_IntervalText = text; }
    std::string IntervalText() const override { return m_IntervalText; }
    void SetChecked(ConfigCheckBox box, bool checked) override { checks[box] = checked; }
    bool Checked(ConfigCheckBox box) const override { return checks.at(box); }

    int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override
    {
        messages.push_back({text, caption, style});
        if (answers.empty()) return mb::IdOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const std::string& message) override { errors.push_back(message); }
    std::optional<std::string> BrowseForFolder(const std::string& prompt) override
    {
        prompts.push_back(prompt);
        auto chosen = browseResults.empty() ? std::nullopt : browseResults.front();
        if (!browseResults.empty()) browseResults.pop_front();
        return chosen;
    }
    std::unique_ptr<AboutBoxView> CreateAboutBox() override
    {
        auto box = std::make_unique<ScriptedAboutView>();
        box->whileOpen = aboutActions;
        lastAbout = box.get();
        return box;
    }

    // The controls' state as the window is built.
    std::vector<std::string> lines;
    int selected = -1;
    std::map<ConfigCheckBox, bool> checks{
        {ConfigCheckBox::ShowTime, true},         {ConfigCheckBox::ShowCurrentFile, true},
        {ConfigCheckBox::ShowTotalCount, true},   {ConfigCheckBox::DisableRandom, false},
        {ConfigCheckBox::FadeOut, false},         {ConfigCheckBox::EnableMusic, false},
        {ConfigCheckBox::DisableMusicRandom, false}};

    std::vector<ShownMessage> messages;
    std::deque<int> answers;
    std::vector<std::string> errors;
    std::vector<std::string> prompts;
    std::deque<std::optional<std::string>> browseResults;
    std::vector<std::function<void(AboutBoxEvents&)>> aboutActions;
    ScriptedAboutView* lastAbout = nullptr; // valid only while the box lives
    int runs = 0, closes = 0;

private:
    ConfigDialogEvents* m_Events = nullptr;
    int m_Position = 1;
    bool m_Requesting = false;
    std::string m_IntervalText = "1";
};

class RecordingShell final : public Shell {
public:
    struct Opened {
        NativeWindow owner;
        std::string target;
        int showCommand;
    };
    void Open(NativeWindow owner, const std::string& target, int showCommand) override
    {
        opened.push_back({owner, target, showCommand});
    }
    void ShowHelp(const std::string& topic) override { helpTopics.push_back(topic); }

    std::vector<Opened> opened;
    std::vector<std::string> helpTopics;
};

// A system in which the program runs from a chosen file; it records the system writes.
class FakeInstallation final : public SaverInstallation {
public:
    std::string ProgramFilePath() const override { return programFile; }
    void SwitchScreenSaverOn() override { writes.push_back("screen saver on"); }
    std::string SystemDirectory() const override { return systemDirectory; }
    std::string WindowsDirectory() const override { return windowsDirectory; }
    std::string ShortPathName(const std::string& path) const override
    {
        const auto known = shortNames.find(path);
        return known == shortNames.end() ? std::string() : known->second;
    }
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                            const std::string& file) override
    {
        writes.push_back(file + " [" + section + "] " + key + "=" + value);
    }

    std::string programFile;
    std::string systemDirectory = "SYS";
    std::string windowsDirectory = "WIN";
    std::map<std::string, std::string> shortNames;
    std::vector<std::string> writes;
};
