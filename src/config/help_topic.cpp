#include "config/help_topic.h"

#include "app/process_values.h"

void ShowHelpTopic(Shell& shell, const std::string& topic) { shell.ShowHelp(HelpFilePath + "::/" + topic); }
