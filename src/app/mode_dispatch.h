#pragma once
#include <functional>
#include <string>
#include <string_view>

// The command line trimmed of characters of code 32 or less and lower-cased.
std::string NormalizeCommandLine(std::string_view commandLine);

// The mode: "/c" for an empty command line, else its first two characters.
std::string ChooseMode(std::string_view normalizedCommandLine);

// Mode "/a": the handle text (from the third character on) converted to the parent window
// handle; throws Error with the conversion message.
int ParsePasswordParent(std::string_view normalizedCommandLine);

class ShowEnvironment;

// Mode "/s" around the show itself: the screen's own pixels before its window opens, and the
// fine timer resolution while it runs, given back however the show ends.
void RunSlideShow(ShowEnvironment& environment, const std::function<void()>& show);

// The entry point's work: choose the mode, open its window, run the event loop. Always 0.
int RunProgram(std::string_view commandLine);
