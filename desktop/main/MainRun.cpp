// TMainForm: the extraction run: its checks, one library call per row, the
// boxes for failing rows and the closing message.
#include "LangRes.h"
#include "Main.h"

namespace quillrun {

void TMainForm::ShowStartButton(bool show) {
    HWND button = Control(IdStartBtn);
    ShowWindow(button, show ? SW_SHOW : SW_HIDE);
    UpdateWindow(hwnd_);
}

void TMainForm::EnterBusyPhase() {
    ShowStartButton(false);
    SetControlsEnabled(false);
    busy_ = true;
}

void TMainForm::LeaveBusyPhase() {
    busy_ = false;
    SetProgressText("");
    ShowWindow(Control(IdProgBar), SW_HIDE);
    ShowStartButton(true);
    SetControlsEnabled(true);
}

void TMainForm::StartBtnClick() {
    int64_t messages = 0;
    for (const SourceRow &row : rows_)
        messages += row.count;
    if (messages == 0) {
        Notice(NoticeKind::Information, LangRes::NothingToExtract);
        return;
    }
    std::string destination = WindowText(Control(IdToCtrl));
    if (destination.empty()) {
        Notice(NoticeKind::Error, FormatPath(LangRes::ResultText1005, destination));
        return;
    }
    totalBytes_ = 0;
    for (const SourceRow &row : rows_)
        totalBytes_ += static_cast<int64_t>(row.totalBytes);
    finishedBytes_ = 0;
    currentFileSize_ = 0;
    bool failed = false;
    int32_t kind = static_cast<int32_t>(SendMessageA(Control(IdOptConvert), CB_GETCURSEL, 0, 0));
    const bool tree = KeepTree();

    HWND bar = Control(IdProgBar);
    SetBarRange(static_cast<uint64_t>(totalBytes_));
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    EnterBusyPhase();
    ShowWindow(bar, SW_SHOW);
    UpdateWindow(hwnd_);
    ProcessMessages();
    StartProgressPhase();

    // However the loop ends, the window is idle again before anything else.
    try {
        RunRows(destination, kind, tree, failed);
    } catch (...) {
        // The closing message first; the failure then goes on to the
        // general error display.
        LeaveBusyPhase();
        Notice(failed ? NoticeKind::Warning : NoticeKind::Information,
               failed ? LangRes::RunEndedWithFailures : LangRes::RunFinished, false);
        throw;
    }
    LeaveBusyPhase();
    if (closeAsked_)
        return;
    if (failed)
        Notice(NoticeKind::Warning, LangRes::RunEndedWithFailures, false);
    else
        Notice(NoticeKind::Information, LangRes::RunFinished, false);
}

void TMainForm::RunRows(const std::string &destination, int32_t kind, bool tree, bool &failed) {
    for (const SourceRow &row : rows_) {
        // A close asked for during the last call: start no further rows.
        if (closeAsked_)
            return;
        if (row.count <= 0)
            continue;
        std::string input = FullPathOf(row);
        CorvexByteTotal total = {0, 0};
        int32_t resultCode = 0;
        // A tree is read whole, each mail folder into a folder of its own.
        if (tree)
            library_.kelpoExWithFlags(input.c_str(), destination.c_str(), kind, CorvexFlagTree,
                                      &total, &resultCode, ExtractProgress);
        else
            library_.kelpoEx(input.c_str(), destination.c_str(), kind, &total, &resultCode,
                             ExtractProgress);
        if (resultCode != 0) {
            failed = true;
            if (closeAsked_)
                return;
            outside_.Beep();
            ShowResult(resultCode, row, destination);
        }
    }
}

void TMainForm::ShowResult(int32_t code, const SourceRow &row, const std::string &destination) {
    const char *format = nullptr;
    std::string path;
    switch (code) {
    case 1000: format = LangRes::ResultText1000; break;
    case 1001: format = LangRes::ResultText1001; path = FullPathOf(row); break;
    case 1002: format = LangRes::ResultText1002; path = FullPathOf(row); break;
    case 1003: format = LangRes::ResultText1003; path = FullPathOf(row); break;
    case 1004: format = LangRes::ResultText1004; path = destination; break;
    case 1005: format = LangRes::ResultText1005; path = destination; break;
    case 1006: format = LangRes::ResultText1006; break;
    case 1007: format = LangRes::ResultText1007; break;
    case 1008: format = LangRes::ResultText1008; path = destination; break;
    case 1009: format = LangRes::ResultText1009; path = destination; break;
    default: return; // a code the program does not know: the beep only
    }
    Notice(NoticeKind::Error, FormatPath(format, path), false);
}

} // namespace quillrun
