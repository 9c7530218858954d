// The Linux entry point: a screen-saver daemon's switches for a window of its own first, then
// the mode switches, whose command-line text is the arguments joined by single blanks.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/foreign_window_show.h"
#include "app/mode_dispatch.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const auto request = ParseForeignWindowSwitches(args))
        return RunForeignWindowShow(*request, std::getenv("XSCREENSAVER_WINDOW"));
    std::string commandLine;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) commandLine += ' ';
        commandLine += args[i];
    }
    return RunProgram(commandLine);
}
