#include "app/foreign_window_show.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <memory>

#include "platform/foreign_window_host.h"
#include "platform/program_file.h"
#include "platform/ui_host.h"
#include "slideshow/slideshow_window.h"

namespace {

bool IsSwitch(std::string_view arg, std::string_view name)
{
    return arg == std::string("-") + std::string(name) || arg == std::string("--") + std::string(name);
}

// "-window-id=ID" or "--window-id=ID": the text after "="; nothing for another argument.
std::optional<std::string_view> InlineValue(std::string_view arg, std::string_view name)
{
    const std::size_t equals = arg.find('=');
    if (equals == std::string_view::npos || !IsSwitch(arg.substr(0, equals), name)) return std::nullopt;
    return arg.substr(equals + 1);
}

void ReadWindowId(ForeignWindowRequest& request, std::string_view text)
{
    request.root = false;
    request.windowId = ParseWindowId(text);
    request.error = request.windowId ? "" : "'" + std::string(text) + "' is not a window id";
}

// One line on standard error: the daemon keeps it in its log.
void ReportLine(std::string message)
{
    for (char& c : message)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s: %s\n", ApplicationTitle().c_str(), message.c_str());
}

} // namespace

std::optional<ForeignWindowRequest> ParseForeignWindowSwitches(std::span<const std::string> args)
{
    std::optional<ForeignWindowRequest> request;
    constexpr std::string_view kWindowId = "window-id";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (IsSwitch(arg, "root")) {
            request = ForeignWindowRequest{true, std::nullopt, {}};
        } else if (IsSwitch(arg, kWindowId)) {
            request.emplace();
            if (i + 1 < args.size()) {
                ReadWindowId(*request, args[++i]);
            } else {
                request->error = "--window-id needs a window id";
            }
        } else if (const auto value = InlineValue(arg, kWindowId)) {
            request.emplace();
            ReadWindowId(*request, *value);
        }
    }
    return request;
}

std::optional<std::uint64_t> ParseWindowId(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars takes a sign and no prefix; neither may come after ours.
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    std::uint64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (error != std::errc() || end != text.data() + text.size() || id == 0) return std::nullopt;
    return id;
}

std::optional<std::uint64_t> ChooseForeignWindow(const ForeignWindowRequest& request, const char* daemonWindow)
{
    if (request.windowId) return request.windowId;
    if (request.root && daemonWindow) return ParseWindowId(daemonWindow);
    return std::nullopt;
}

int RunShowInHost(UiHost& host)
{
    try {
        TfrmMain window(host);
        window.Open();
        host.Run();
    } catch (const std::exception& error) {
        ReportLine(error.what());
    } catch (...) {
        ReportLine("the show ended with an unexpected error");
    }
    return 0;
}

int RunForeignWindowShow(const ForeignWindowRequest& request, const char* daemonWindow)
{
    if (!request.error.empty()) {
        ReportLine(request.error);
        return 0;
    }
    std::unique_ptr<UiHost> host;
    try {
        host = CreateForeignWindowHost(ChooseForeignWindow(request, daemonWindow));
    } catch (const std::exception& error) {
        ReportLine(error.what());
        return 0;
    }
    if (!host) {
        ReportLine("showing in another program's window is not available on this system");
        return 0;
    }
    return RunShowInHost(*host);
}
