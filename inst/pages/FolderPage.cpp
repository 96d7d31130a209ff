#include "FolderPage.h"

#include <shlobj.h>

#include "ExpandPathMacros.h"
#include "Folders.h"
#include "Handles.h"
#include "InstallTarget.h"
#include "PageIds.h"
#include "SetupPages.h"
#include "UninstallEntry.h"

namespace setup {

namespace {

// Makes the picker select the start folder once it is ready.
int CALLBACK PickerEvent(HWND picker, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED)
        ::SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, startFolder);
    return 0;
}

} // namespace

void FolderPage::OnInit() {
    // Going Back now shows "I Agree" chosen and Next enabled.
    setup().ctx.licenceAccepted = true;
    SetItemText(IDC_FOLDER, setup().ctx.installFolder);
    const std::string oldFolder = OldVersionFolder(setup());
    if (oldFolder.empty())
        return;
    // An update goes where the earlier version is.
    SetItemText(IDC_FOLDER, oldFolder);
    ::EnableWindow(::GetDlgItem(hwnd_, IDC_FOLDER), FALSE);
    ::ShowWindow(::GetDlgItem(hwnd_, IDC_BROWSE), SW_HIDE);
    SetItemText(IDC_PROMPT, setup().Text(TextOldVersionFound));
}

void FolderPage::OnCommand(int id, int code) {
    if (id == IDC_BROWSE && code == BN_CLICKED)
        Browse();
}

void FolderPage::OnButton(int id) {
    TakeFolder();
    switch (id) {
    case PageNext:
        if (FolderReady())
            End(PageNext);
        break;
    case PageCancel:
        if (ConfirmExit())
            End(PageCancel);
        break;
    default:
        End(id);
        break;
    }
}

void FolderPage::Browse() {
    const std::string start = ItemText(IDC_FOLDER);
    char display[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = hwnd_;
    info.pszDisplayName = display;
    info.lpszTitle = "";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = PickerEvent;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    // The picker's new style needs COM on the thread, apartment-threaded.
    const ComApartment apartment;
    const Scoped<LPITEMIDLIST, ::CoTaskMemFree> chosen(::SHBrowseForFolderA(&info));
    char path[MAX_PATH] = "";
    if (!chosen.get() || !::SHGetPathFromIDListA(chosen.get(), path))
        return;
    std::string folder = path;
    ExpandPathMacros(folder, "", setup().platform);
    SetItemText(IDC_FOLDER, folder);
}

void FolderPage::TakeFolder() {
    std::string folder = ItemText(IDC_FOLDER);
    ExpandPathMacros(folder, "", setup().platform);
    setup().ctx.installFolder = folder;
    SetItemText(IDC_FOLDER, folder);
}

bool FolderPage::FolderReady() {
    Setup &s = setup();
    const std::string &folder = s.ctx.installFolder;
    // Checked before anything is made: the folder must be the product's own.
    if (!IsAcceptableInstallFolder(s, folder)) {
        s.Show(MessageKind::Error, FormatText(s.Text(TextFolderRefused), {folder}), hwnd_);
        return false;
    }
    if (IsExistingFolder(folder))
        return true;
    if (s.Show(MessageKind::QuestionYesFirst, FormatText(s.Text(TextCreateFolder), {folder}),
               hwnd_) != Answer::Yes)
        return false;
    // A file of that name is no folder, though its creation "succeeds".
    if (CreateFolderPath(s.cp, folder) && IsExistingFolder(folder))
        return true;
    s.Show(MessageKind::Error, FormatText(s.Text(TextFolderNotCreated), {folder}), hwnd_);
    return false;
}

} // namespace setup
