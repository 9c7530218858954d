#pragma once
// Process-wide texts, built before the entry point runs and only read afterwards.
#include <string>

extern const std::string HelpFilePath;     // the program's directory + "help.chm"
extern std::string HomePageAddress;        // site + "/?come_from=" + product tag
extern const std::string SupportAddress;   // support e-mail address

// The entry point completes HomePageAddress with the product tag.
void CompleteHomePageAddress();
