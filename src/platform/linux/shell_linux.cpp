#include "platform/shell.h"

#include <gtk/gtk.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "platform/linux/glib_owners.h"
#include "platform/linux/gtk_session.h"

namespace {

constexpr std::string_view kTopicSeparator = "::/";

// A URI for what the user asked to open: web and mail addresses as they are, a path of this
// machine as a file URI.
std::string UriFor(const std::string& target)
{
    if (GlibString(g_uri_parse_scheme(target.c_str()))) return target;
    const auto file = ObjectRef<GFile>::Adopt(g_file_new_for_path(target.c_str()));
    return GlibString(g_file_get_uri(file.get())).str();
}

// The page of a help topic "<dir>/help.chm::/<page>": "<dir>/help/<page>", or empty when the
// topic is malformed or names a page outside that folder.
std::string HelpPagePath(const std::string& topic)
{
    const std::size_t separator = topic.find(kTopicSeparator);
    if (separator == std::string::npos) return {};
    const std::string helpFile = topic.substr(0, separator);
    const std::string page = topic.substr(separator + kTopicSeparator.size());
    if (page.empty() || page.front() == '/') return {};
    for (std::size_t start = 0; start <= page.size();) {
        const std::size_t end = std::min(page.find('/', start), page.size());
        if (page.compare(start, end - start, "..") == 0) return {};
        start = end + 1;
    }
    const std::size_t slash = helpFile.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : helpFile.substr(0, slash + 1);
    return directory + "help/" + page;
}

class LinuxShell final : public Shell {
public:
    void Open(NativeWindow owner, const std::string& target, int /*showCommand*/) override
    {
        // A browser decides for itself how large its window is.
        if (target.empty() || !EnsureGtkInitialized()) return;
        const std::string uri = UriFor(target);
        if (uri.empty()) return;
        GlibError error; // not reported, as on Windows
        gtk_show_uri_on_window(static_cast<GtkWindow*>(owner), uri.c_str(), GDK_CURRENT_TIME, error.Out());
    }

    void ShowHelp(const std::string& helpTopic) override
    {
        const std::string page = HelpPagePath(helpTopic);
        struct stat status{};
        if (page.empty() || ::stat(page.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
        Open(nullptr, page, showcmd::Normal);
    }
};

} // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<LinuxShell>(); }
