// The Linux entry point: the command-line text is the arguments joined by single blanks.
#include <string>

#include "app/mode_dispatch.h"

int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return RunProgram(commandLine);
}
