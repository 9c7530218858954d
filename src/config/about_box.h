#pragma once
// The about box: the program's title and version, and links to the home page and the support
// address. Created by the dialog for each "About...", shown modally and destroyed on close.
#include "platform/about_box_view.h"
#include "platform/shell.h"

class TfrmAbout final : public AboutBoxEvents {
public:
    TfrmAbout(AboutBoxView& view, Shell& shell);
    TfrmAbout(const TfrmAbout&) = delete;
    TfrmAbout& operator=(const TfrmAbout&) = delete;

    // FormCreate, then the box until it closes.
    void ShowModal();

    void FormCreate();
    void btnCloseClick() override;
    void btnVisitHomePageClick() override;
    void labelWebClick() override;
    void labelMailClick() override;
    void labelWebMouseEnter(AboutLink sender) override;
    void labelWebMouseLeave(AboutLink sender) override;

private:
    AboutBoxView& m_View;
    Shell& m_Shell;
};
