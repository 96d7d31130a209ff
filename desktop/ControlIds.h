// Control identifiers of the main window, shared with the programs that
// drive it from outside. None is 1 or 2 (IDOK, IDCANCEL), which the dialog
// keys Enter and Escape produce.
#pragma once

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
};
