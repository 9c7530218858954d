#pragma once
// Save: stores the dialog's settings and, when the program runs from its ".exe" file, makes its
// screen-saver file the system's current screen saver.
#include <string>

#include "platform/saver_installation.h"

class TfrmConfig;

// True when the program file's extension is ".exe" in any letter case.
bool RunningFromExe(const std::string& programFilePath);

// Where the system expects the program's screen-saver file: the system directory, then the
// short form of the program's own file name with the extension ".scr".
std::string SaverFilePath(const SaverInstallation& installation);

// Raises Error when the store refuses a write; what was written before stays written.
void SaveConfiguration(TfrmConfig& dialog);
