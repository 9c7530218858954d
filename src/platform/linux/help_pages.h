#pragma once
// Where the Linux build keeps its help pages: in a folder "help" beside the program (the build
// tree, or a program unpacked anywhere), else in the data folder of the prefix it is installed
// under ("<prefix>/bin/tovelin" reads "<prefix>/share/tovelin/help").
#include <string>

// The page file of a help topic "<dir>/help.chm::/<page>": "<dir>/help/<page>" when that is a
// regular file, else "<dir>/../share/tovelin/help/<page>" when that is one. Empty when neither
// is, or when the topic is malformed or names a page outside the help folder.
std::string FindHelpPage(const std::string& topic);
