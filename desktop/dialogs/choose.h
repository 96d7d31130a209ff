// TChooseDlg: asks what objects dropped on the main window, away from the
// source list and the destination field, are for. Created once at start-up;
// every showing starts with the first choice (add to the sources).
#pragma once

#include <windows.h>

#include "Main.h"
#include "ModalForm.h"

namespace quillrun {

class TChooseDlg : public ModalForm {
public:
    TChooseDlg() = default;
    ~TChooseDlg() override;

    // Creates the dialog hidden, owned by the main window.
    bool Create(HWND owner);

    // Shows the dialog: Sources or Destination after OK, None when it was
    // cancelled or closed.
    DropPurpose Ask();

protected:
    void CreateControls() override;
    void FormActivate() override;
    void Command(int id, int code) override;

private:
    // Only the checked choice is a tab stop; the arrow keys move between
    // the two.
    void Check(int id);
};

} // namespace quillrun
