// TMainForm: the extraction run, its progress, and the remaining-time text
// that counts and runs show.
#include <cstdint>
#include <cstdio>

#include "LangRes.h"
#include "Main.h"

int ProgressShift(uint64_t maximum) {
    int shift = 0;
    while ((maximum >> shift) > 0x7FFFFFFFu)
        ++shift;
    return shift;
}

std::string RemainingTimeText(uint64_t total, uint64_t done, DWORD startTick, DWORD now) {
    // The tick counter wraps after 49.7 days.
    DWORD elapsed = now >= startTick ? now - startTick : 4294967295u - (startTick - now);
    // A file that grew after it was counted can put done beyond total.
    if (done == 0 || elapsed < 800 || done > total)
        return std::string();
    uint64_t left = total - done;
    uint64_t seconds64;
    if (left <= UINT64_MAX / elapsed) {
        seconds64 = elapsed * left / done / 1000;
    } else {
        // Beyond 64 bits only for absurd sizes and times; the estimate then
        // comes from long double arithmetic instead of wrapping around.
        long double estimate = static_cast<long double>(elapsed) * left / done / 1000;
        seconds64 = estimate >= 1.8e19L ? UINT64_MAX : static_cast<uint64_t>(estimate);
    }
    uint32_t seconds = static_cast<uint32_t>(seconds64);
    unsigned hours = seconds / 3600;
    unsigned minutes = (seconds / 60) % 60;
    unsigned rest = seconds % 60;
    char text[128];
    if (hours + minutes == 0)
        std::snprintf(text, sizeof text, LangRes::RemainingSeconds, static_cast<int>(rest));
    else if (hours == 0)
        std::snprintf(text, sizeof text, LangRes::RemainingMinutes, static_cast<int>(minutes),
                      static_cast<int>(rest));
    else
        std::snprintf(text, sizeof text, LangRes::RemainingHours, static_cast<int>(hours),
                      static_cast<int>(minutes), static_cast<int>(rest));
    return text;
}

std::string TMainForm::RemainingTimeText(uint64_t total, uint64_t done) const {
    return ::RemainingTimeText(total, done, startTick_, GetTickCount());
}

void TMainForm::ShowStartButton(bool show) {
    HWND button = Control(IdStartBtn);
    ShowWindow(button, show ? SW_SHOW : SW_HIDE);
    UpdateWindow(hwnd_);
}

void TMainForm::SetProgressText(const std::string &text) {
    // The text changes about once a second; setting it again unchanged
    // would only repaint it.
    if (text == progressText_)
        return;
    progressText_ = text;
    SetWindowTextA(Control(IdProgText), text.c_str());
}

void TMainForm::RepaintProgress() {
    UpdateWindow(Control(IdProgText));
    UpdateWindow(Control(IdProgBar));
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

    HWND bar = Control(IdProgBar);
    progressShift_ = ProgressShift(static_cast<uint64_t>(totalBytes_));
    SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(totalBytes_ >> progressShift_));
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    ShowWindow(Control(IdStartBtn), SW_HIDE);
    ShowWindow(bar, SW_SHOW);
    SetControlsEnabled(false);
    busy_ = true;
    UpdateWindow(hwnd_);
    ProcessMessages();
    startTick_ = GetTickCount();

    // However the loop ends, the window is idle again before anything else.
    auto finish = [&] {
        busy_ = false;
        ShowWindow(bar, SW_HIDE);
        SetProgressText("");
        SetControlsEnabled(true);
        ShowStartButton(true);
    };
    try {
        RunRows(destination, kind, failed);
    } catch (...) {
        // The closing message first; the failure then goes on to the
        // general error display.
        finish();
        Notice(failed ? NoticeKind::Warning : NoticeKind::Information,
               failed ? LangRes::RunEndedWithFailures : LangRes::RunFinished, false);
        throw;
    }
    finish();
    if (closeAsked_)
        return;
    if (failed)
        Notice(NoticeKind::Warning, LangRes::RunEndedWithFailures, false);
    else
        Notice(NoticeKind::Information, LangRes::RunFinished, false);
}

void TMainForm::RunRows(const std::string &destination, int32_t kind, bool &failed) {
    for (const SourceRow &row : rows_) {
        // A close asked for during the last call: start no further rows.
        if (closeAsked_)
            return;
        if (row.count <= 0)
            continue;
        std::string input = FullPathOf(row);
        CorvexByteTotal total = {0, 0};
        int32_t resultCode = 0;
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

int32_t CORVEX_CALL TMainForm::ExtractProgress(uint32_t totalLow, uint32_t totalHigh,
                                               uint32_t doneLow, uint32_t doneHigh) {
    if (progressForm_)
        progressForm_->OnExtractProgress((uint64_t(totalHigh) << 32) | totalLow,
                                         (uint64_t(doneHigh) << 32) | doneLow);
    return -1;
}

void TMainForm::OnExtractProgress(uint64_t total, uint64_t done) {
    if (done == 0) {
        finishedBytes_ += currentFileSize_;
        currentFileSize_ = static_cast<int64_t>(total);
    }
    uint64_t position = static_cast<uint64_t>(finishedBytes_) + done;
    SendMessageA(Control(IdProgBar), PBM_SETPOS, static_cast<WPARAM>(position >> progressShift_),
                 0);
    SetProgressText(RemainingTimeText(static_cast<uint64_t>(totalBytes_), position));
    RepaintProgress();
    ProcessMessages();
}
