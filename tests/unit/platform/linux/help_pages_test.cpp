// The help page that the Help menu opens: beside the program, in the data folder of an installed
// prefix, or none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/help_pages.h"
#include "unit/test_support/temporary_tree.h"

namespace {

struct HelpLookupCase {
    const char* name;
    std::vector<std::string> files; // made in the tree
    std::string topic;              // relative to the tree's root
    std::string expected;           // relative to the tree's root; empty: no page
};

const HelpLookupCase kCases[] = {
    {"beside the program", {"build/help/Overview.htm"}, "build/help.chm::/Overview.htm", "build/help/Overview.htm"},
    {"installed layout", {"usr/share/tovelin/help/Overview.htm"}, "usr/bin/help.chm::/Overview.htm",
     "usr/share/tovelin/help/Overview.htm"},
    {"beside wins over installed", {"usr/bin/help/Keys.htm", "usr/share/tovelin/help/Keys.htm"},
     "usr/bin/help.chm::/Keys.htm", "usr/bin/help/Keys.htm"},
    {"neither", {"usr/share/doc/tovelin/Overview.htm"}, "usr/bin/help.chm::/Overview.htm", ""},
    {"another page than the one present", {"usr/share/tovelin/help/Keys.htm"}, "usr/bin/help.chm::/Overview.htm", ""},
    {"a folder in the page's place", {"usr/share/tovelin/help/Overview.htm/x"}, "usr/bin/help.chm::/Overview.htm", ""},
    {"a page outside the help folder", {"usr/share/tovelin/Overview.htm"}, "usr/bin/help.chm::/../Overview.htm", ""},
    {"no page named", {"usr/share/tovelin/help/Overview.htm"}, "usr/bin/help.chm", ""},
};

TEST(HelpPages, FoundBesideTheProgramThenInTheInstalledDataFolder)
{
    for (const HelpLookupCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TemporaryTree tree;
        for (const std::string& file : c.files) tree.File(file);
        const std::string expected = c.expected.empty() ? std::string() : tree.Root() + "/" + c.expected;
        EXPECT_EQ(FindHelpPage(tree.Root() + "/" + c.topic), expected);
    }
}

} // namespace
