// Control identifiers of the main window, shared with the programs that
// drive it from outside. None is 1 or 2 (IDOK, IDCANCEL), which the dialog
// keys Enter and Escape produce.
#pragma once

namespace quillrun {

enum ControlId {
    IdAboutBtn = 101,
    IdLabel1,
    IdImage2,
    IdLabel2,
    IdNewFileBtn,
    IdNewFolderBtn,
    IdDeleteBtn,
    IdFromCtrl,
    IdProgBar,
    IdStartBtn,
    IdProgText,
    IdHelpBtn,
    IdImage1,
    IdLabel3,
    IdToCtrl,
    IdBrowseBtn,
    IdImage3,
    IdLabel4,
    IdOptConvert,
    IdKeepTree, // the check box beside the kind list: read whole trees, keep their structure
};

// The drop-purpose dialog's controls; its OK and Cancel buttons are IDOK and
// IDCANCEL.
enum ChooseControlId {
    IdChooseLabel1 = 201,
    IdRbOption1,
    IdRbOption2,
};

// The About box's controls; its OK button is IDOK.
enum AboutControlId {
    IdAboutImage1 = 301,
    IdAboutLabel1,
    IdVersion,
    IdCopyright,
    IdAboutLabel2,
    IdHomePage,
    IdAboutLabel3,
    IdEmail,
};

} // namespace quillrun
