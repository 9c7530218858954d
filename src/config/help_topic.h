#pragma once
#include <string>

#include "platform/shell.h"

// Opens a page of the help file beside the program: "<help file>::/<topic>".
void ShowHelpTopic(Shell& shell, const std::string& topic);
