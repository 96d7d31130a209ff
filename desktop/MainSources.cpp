// TMainForm: the source list, everything that adds, counts and removes
// rows, and the two uses of the folder browse dialog.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>

#include <cstring>

#include "AnsiPath.h"
#include "LangRes.h"
#include "Main.h"

std::string FullPathOf(const SourceRow &row) { return JoinPath(row.directory, row.name); }

void TMainForm::AddSource(const std::string &path) {
    if (path.empty()) {
        Notice(NoticeKind::Error, LangRes::SourceEmpty);
        return;
    }
    for (const SourceRow &row : rows_) {
        if (SameIgnoringAsciiCase(FullPathOf(row), path)) {
            Notice(NoticeKind::Information, FormatPath(LangRes::SourceAlreadyListed, path));
            return;
        }
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path.c_str(), &entry);
    bool found = search != INVALID_HANDLE_VALUE;
    // A drive root (C:\) is never found by a search, and goes on unfound.
    if (!found && path.size() > 3) {
        Notice(NoticeKind::Error, FormatPath(LangRes::SourceNotFound, path));
        return;
    }
    bool folder = (found && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ||
                  path.size() == 3;
    if (found)
        FindClose(search);

    ShowStartButton(false);
    SetControlsEnabled(false);
    busy_ = true;
    StartProgressPhase();
    ProcessMessages();

    CorvexByteTotal total = {0, 0};
    int32_t resultCode = 0;
    // The result code is not looked at: a path the library cannot read
    // simply gets the count it returns.
    int32_t count = library_.countInFileEx(path.c_str(), &total, &resultCode, CountProgress);
    busy_ = false;

    SetProgressText("");
    ShowWindow(Control(IdProgBar), SW_HIDE);
    ShowStartButton(true);
    SetControlsEnabled(true);
    if (closeAsked_)
        return;

    SplitPath split = SplitSourcePath(path);
    SourceRow row;
    row.name = split.name;
    row.count = count;
    row.directory = split.directory;
    row.totalBytes = (uint64_t(total.high) << 32) | total.low;
    row.image = folder ? 1 : 0;
    AppendRow(row);
}

void TMainForm::AppendRow(const SourceRow &row) {
    HWND list = Control(IdFromCtrl);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(rows_.size());
    item.pszText = const_cast<char *>(row.name.c_str());
    item.iImage = row.image;
    int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0,
                                              reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        throw RaisedError(LangRes::ResultText1006);
    std::string count = std::to_string(row.count);
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = &count[0];
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = const_cast<char *>(row.directory.c_str());
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    rows_.push_back(row);
}

void TMainForm::NewFileBtnClick() {
    // Room for at least a thousand full paths; a larger selection is
    // refused whole rather than cut in the middle.
    std::vector<char> selection(kOpenDialogPaths * MAX_PATH + 1, '\0');
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd_;
    dialog.lpstrFilter = LangRes::OpenDialogFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = selection.data();
    dialog.nMaxFile = static_cast<DWORD>(selection.size());
    dialog.lpstrInitialDir = openDialogFolder_.empty() ? nullptr : openDialogFolder_.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                   OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
    DWORD error = 0;
    if (!outside_.RunOpenDialog(dialog, error)) {
        if (error == FNERR_BUFFERTOOSMALL)
            Notice(NoticeKind::Error, LangRes::SelectionTooLarge);
        return;
    }
    // One file: its full path. Several: the folder, then each name, each
    // ending in NUL, and an empty string at the end.
    std::vector<std::string> files;
    const char *cursor = selection.data();
    std::string first = cursor;
    cursor += first.size() + 1;
    if (*cursor == '\0') {
        files.push_back(first);
    } else {
        while (*cursor != '\0') {
            std::string name = cursor;
            files.push_back(JoinPath(first, name));
            cursor += name.size() + 1;
        }
    }
    for (const std::string &file : files) {
        if (closeAsked_)
            break;
        AddSource(file);
    }
}

void TMainForm::NewFolderBtnClick() {
    browseDialog_.Options = TBrowseOptions{biReturnOnlyFSDirs, biEditBox};
    if (browseDialog_.Execute(hwnd_))
        AddSource(browseDialog_.Directory);
}

void TMainForm::BrowseBtnClick() {
    browseDialog_.Options = TBrowseOptions{biReturnOnlyFSDirs, biNewDialogStyle};
    if (browseDialog_.Execute(hwnd_))
        SetWindowTextA(Control(IdToCtrl), browseDialog_.Directory.c_str());
}

void TMainForm::DeleteBtnClick() {
    HWND list = Control(IdFromCtrl);
    int selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                 LVNI_SELECTED));
    if (selected < 0 || selected >= static_cast<int>(rows_.size()))
        return;
    SendMessageA(list, LVM_DELETEITEM, selected, 0);
    rows_.erase(rows_.begin() + selected);
}
