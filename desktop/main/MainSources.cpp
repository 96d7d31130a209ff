// TMainForm: the source list, everything that adds, counts and removes
// rows, and the two uses of the folder browse dialog.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>

#include <cstring>

#include "AnsiPath.h"
#include "LangRes.h"
#include "Main.h"

namespace quillrun {

std::string FullPathOf(const SourceRow &row) { return JoinPath(row.directory, row.name); }

bool TMainForm::SourceExists(const std::string &path, bool &folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path.c_str(), &entry);
    const bool found = search != INVALID_HANDLE_VALUE;
    if (found)
        FindClose(search);
    // A drive root (C:\) is never found by a search, and goes on unfound.
    folder = (found && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) || path.size() == 3;
    return found || path.size() <= 3;
}

int32_t TMainForm::SelectedKind() const {
    const LRESULT selected = SendMessageA(Control(IdOptConvert), CB_GETCURSEL, 0, 0);
    return selected >= 0 && selected < kKindCount ? static_cast<int32_t>(selected) : 0;
}

bool TMainForm::KeepTree() const {
    return SendMessageA(Control(IdKeepTree), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool TMainForm::CountSource(const std::string &path, int32_t kind, bool tree, int32_t &count,
                            uint64_t &totalBytes, int32_t &resultCode) {
    // Each count has a bar of its own: it shows from the count's first
    // report, with that file's size as its maximum.
    SetProgressText("");
    ShowWindow(Control(IdProgBar), SW_HIDE);
    StartProgressPhase();
    ProcessMessages();

    CorvexByteTotal total = {0, 0};
    resultCode = 0;
    // General text goes through the count the program always made; the other
    // kinds are counted as their extraction will find them.
    if (kind == KindGeneral && !tree)
        count = library_.countInFileEx(path.c_str(), &total, &resultCode, CountProgress);
    else
        count = library_.countInFileOfKind(path.c_str(), kind, tree ? CorvexFlagTree : 0, &total,
                                           &resultCode, CountProgress);
    totalBytes = (uint64_t(total.high) << 32) | total.low;
    return !closeAsked_;
}

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
    bool folder = false;
    if (!SourceExists(path, folder)) {
        Notice(NoticeKind::Error, FormatPath(LangRes::SourceNotFound, path));
        return;
    }

    // The result code is not looked at: a path the library cannot read
    // simply gets the count it returns.
    const int32_t kind = shownKind_;
    const bool tree = shownTree_;
    SourceRow row;
    int32_t resultCode = 0;
    EnterBusyPhase();
    const bool counted = CountSource(path, kind, tree, row.count, row.totalBytes, resultCode);
    LeaveBusyPhase();
    if (!counted)
        return;
    row.countOfKind[tree][kind] = row.count;
    row.totalBytesOf[tree] = row.totalBytes;

    SplitPath split = SplitSourcePath(path);
    row.name = split.name;
    row.directory = split.directory;
    row.image = folder ? 1 : 0;
    AppendRow(row);
}

void TMainForm::optConvertChange() {
    const int32_t kind = SelectedKind();
    const bool tree = KeepTree();
    if (kind == shownKind_ && tree == shownTree_)
        return;
    shownKind_ = kind;
    shownTree_ = tree;
    // One busy phase for all the rows, so that the window does not turn idle
    // between them; each row's count has its own bar and time text.
    bool busy = false;
    for (size_t i = 0; i < rows_.size() && !closeAsked_; ++i) {
        if (rows_[i].countOfKind[tree][kind] < 0) {
            // Counted now; a count that fails leaves the row as it was, to be
            // counted again at the next change to this kind.
            const std::string path = FullPathOf(rows_[i]);
            bool folder = false;
            if (!SourceExists(path, folder)) {
                Notice(NoticeKind::Error, FormatPath(LangRes::SourceNotFound, path));
                continue;
            }
            if (!busy) {
                EnterBusyPhase();
                busy = true;
            }
            int32_t count = 0, resultCode = 0;
            uint64_t totalBytes = 0;
            if (!CountSource(path, kind, tree, count, totalBytes, resultCode))
                break;
            if (resultCode != 0) {
                outside_.Beep();
                ShowResult(resultCode, rows_[i], std::string());
                continue;
            }
            rows_[i].countOfKind[tree][kind] = count;
            rows_[i].totalBytesOf[tree] = totalBytes;
        }
        rows_[i].count = rows_[i].countOfKind[tree][kind];
        rows_[i].totalBytes = rows_[i].totalBytesOf[tree];
        ShowRowCount(static_cast<int>(i));
    }
    if (busy)
        LeaveBusyPhase();
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
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 2;
    item.pszText = const_cast<char *>(row.directory.c_str());
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    rows_.push_back(row);
    ShowRowCount(index);
}

void TMainForm::ShowRowCount(int index) {
    std::string count = std::to_string(rows_[size_t(index)].count);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = &count[0];
    SendMessageA(Control(IdFromCtrl), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
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

} // namespace quillrun
