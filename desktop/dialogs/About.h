// TAboutDlg: the About box. The product's name, version and copyright, and
// two links: the maker's web site and its contact address. Created once at
// start-up, shown modally by the main window's About button and Alt+A.
#pragma once

#include <windows.h>

#include "HyperLink.h"
#include "Layout.h"
#include "ModalForm.h"

namespace quillrun {

class Outside;

class TAboutDlg : public ModalForm {
public:
    explicit TAboutDlg(Outside &outside);
    ~TAboutDlg() override;

    // Creates the box hidden, owned by the main window.
    bool Create(HWND owner);

    THyperLink HomePage;
    THyperLink Email;

    // Space opens the link, as a click does.
    void HomePageKeyPress(THyperLink &sender, char &key);
    void EmailKeyPress(THyperLink &sender, char &key);

protected:
    void CreateControls() override;
    void BeforeShow() override;
    void Paint(HDC dc) override;

private:
    Font titleFont_;
    HICON icon_ = nullptr;
};

} // namespace quillrun
