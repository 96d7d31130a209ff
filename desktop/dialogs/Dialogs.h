// The About box and the drop-purpose dialog as the main window opens them.
#pragma once

#include "About.h"
#include "Main.h"
#include "choose.h"

namespace quillrun {

class FormDialogs : public ModalWindows {
public:
    FormDialogs(TAboutDlg &about, TChooseDlg &choose) : about_(about), choose_(choose) {}
    void ShowAbout() override { about_.ShowModal(); }
    DropPurpose AskDropPurpose() override { return choose_.Ask(); }

private:
    TAboutDlg &about_;
    TChooseDlg &choose_;
};

} // namespace quillrun
