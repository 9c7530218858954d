#include "config/about_box.h"

#include "app/process_values.h"
#include "config/file_version_string.h"
#include "platform/program_file.h"

namespace {

// The home page as the label shows it: the site, without the address's tracking part.
std::string SiteText(const std::string& address)
{
    const auto query = address.find("/?");
    std::string text = query == std::string::npos ? address : address.substr(0, query);
    const auto scheme = text.find("://");
    return scheme == std::string::npos ? text : text.substr(scheme + 3);
}

} // namespace

TfrmAbout::TfrmAbout(AboutBoxView& view, Shell& shell) : m_View(view), m_Shell(shell)
{
    m_View.SetEvents(*this);
    m_View.SetLinkTexts(SiteText(HomePageAddress), SupportAddress);
}

void TfrmAbout::ShowModal()
{
    FormCreate();
    m_View.ShowModal();
}

void TfrmAbout::FormCreate() { m_View.SetVersionText("Version:" + FileVersionString(ProgramFilePath())); }

void TfrmAbout::btnCloseClick() { m_View.Close(); }

void TfrmAbout::btnVisitHomePageClick() { m_Shell.Open(nullptr, HomePageAddress, showcmd::Maximized); }

void TfrmAbout::labelWebClick() { btnVisitHomePageClick(); }

void TfrmAbout::labelMailClick() { m_Shell.Open(nullptr, "mailto:" + SupportAddress, showcmd::Normal); }

void TfrmAbout::labelWebMouseEnter(AboutLink sender) { m_View.SetLinkLook(sender, Rgb{0, 0, 255}, PointerShape::Hand); }

void TfrmAbout::labelWebMouseLeave(AboutLink sender) { m_View.SetLinkLook(sender, Rgb{0, 0, 0}, PointerShape::Default); }
