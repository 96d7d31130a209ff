// TMainForm: the progress display of counts and runs: the bar, scaled so
// that byte counts of 2 GiB or more fit its signed 32-bit range, and the
// remaining-time text.
#include <cstdio>

#include "LangRes.h"
#include "Main.h"

namespace quillrun {

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
    return quillrun::RemainingTimeText(total, done, startTick_, outside_.Ticks());
}

void TMainForm::StartProgressPhase() {
    startTick_ = outside_.Ticks();
    pumpedInPhase_ = false;
}

void TMainForm::SetBarRange(uint64_t maximum) {
    HWND bar = progBar_;
    progressShift_ = ProgressShift(maximum);
    barMaximum_ = static_cast<int>(maximum >> progressShift_);
    SendMessageA(bar, PBM_SETRANGE32, 0, barMaximum_);
    RECT client;
    GetClientRect(bar, &client);
    barWidth_ = client.right;
    barPixel_ = -1;
}

void TMainForm::SetProgressText(const std::string &text) {
    if (text == progressText_)
        return;
    progressText_ = text;
    SetWindowTextA(progText_, text.c_str());
}

void TMainForm::ShowProgress(uint64_t position, const std::string &text) {
    // The display follows the reports, but a screen shows at most one frame
    // in 16 ms and a bar moves only when its pixel does: the bar is told a
    // new position when its pixel changes and a frame has passed since it was
    // last moved (always at the first report of a phase). Each position
    // makes the bar repaint itself whole at once, which under some systems
    // costs more per report than the library's own work.
    DWORD now = outside_.Ticks();
    int value = static_cast<int>(position >> progressShift_);
    int pixel = barMaximum_ > 0 ? MulDiv(value < barMaximum_ ? value : barMaximum_, barWidth_,
                                         barMaximum_)
                                : 0;
    bool changed = text != progressText_;
    if (pixel != barPixel_ && (barPixel_ < 0 || now - barMoved_ >= kFrameMs)) {
        SendMessageA(progBar_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
        barPixel_ = pixel;
        barMoved_ = now;
        changed = true;
    }
    SetProgressText(text);
    if (changed) {
        UpdateWindow(progText_);
        UpdateWindow(progBar_);
    }
    // Pending messages are handled at the first report and then whenever
    // 10 ms have passed, as the library itself checks the queue: the window
    // answers at once to the eye, and the reports cost next to nothing.
    if (!pumpedInPhase_ || now - lastPump_ >= 10) {
        ProcessMessages();
        lastPump_ = outside_.Ticks();
        pumpedInPhase_ = true;
    }
}

namespace {

// A report's two values, each given as its low and its high word.
uint64_t Joined(uint32_t low, uint32_t high) { return (uint64_t(high) << 32) | low; }

} // namespace

int32_t CORVEX_CALL TMainForm::CountProgress(uint32_t totalLow, uint32_t totalHigh,
                                             uint32_t doneLow, uint32_t doneHigh) {
    if (progressForm_)
        progressForm_->OnCountProgress(Joined(totalLow, totalHigh), Joined(doneLow, doneHigh));
    return -1;
}

void TMainForm::OnCountProgress(uint64_t total, uint64_t done) {
    HWND bar = progBar_;
    bool hidden = !IsWindowVisible(bar);
    // The first report of a count sets the maximum: its file's size, all
    // 64 bits of it (a file of 4 GiB or more would otherwise fill the bar
    // early and then start it again from the left).
    if (hidden)
        SetBarRange(total);
    ShowProgress(done, RemainingTimeText(total, done));
    if (hidden) {
        ShowWindow(bar, SW_SHOW);
        UpdateWindow(bar);
    }
}

int32_t CORVEX_CALL TMainForm::ExtractProgress(uint32_t totalLow, uint32_t totalHigh,
                                               uint32_t doneLow, uint32_t doneHigh) {
    if (progressForm_)
        progressForm_->OnExtractProgress(Joined(totalLow, totalHigh), Joined(doneLow, doneHigh));
    return -1;
}

void TMainForm::OnExtractProgress(uint64_t total, uint64_t done) {
    if (done == 0) {
        finishedBytes_ += currentFileSize_;
        currentFileSize_ = static_cast<int64_t>(total);
    }
    uint64_t position = static_cast<uint64_t>(finishedBytes_) + done;
    ShowProgress(position, RemainingTimeText(static_cast<uint64_t>(totalBytes_), position));
}

} // namespace quillrun
