#include "platform/shell.h"

#include <gtk/gtk.h>

#include "platform/linux/glib_owners.h"
#include "platform/linux/gtk_session.h"
#include "platform/linux/help_pages.h"

namespace {

// A URI for what the user asked to open: web and mail addresses as they are, a path of this
// machine as a file URI.
std::string UriFor(const std::string& target)
{
    if (GlibString(g_uri_parse_scheme(target.c_str()))) return target;
    const auto file = ObjectRef<GFile>::Adopt(g_file_new_for_path(target.c_str()));
    return GlibString(g_file_get_uri(file.get())).str();
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
        const std::string page = FindHelpPage(helpTopic);
        if (!page.empty()) Open(nullptr, page, showcmd::Normal);
    }
};

} // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<LinuxShell>(); }
