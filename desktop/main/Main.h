// TMainForm: the desktop program's one main window. The user builds a list
// of source files and folders with their message counts, types or picks a
// destination folder, chooses the input kind and starts the extraction.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/BaseWindow.h"
#include "BrowsDlg.h"
#include "ControlIds.h"
#include "DropQueue.h"
#include "InetMail.h"
#include "Layout.h"
#include "Notice.h"
#include "Outside.h"

namespace quillrun {

// The input kinds of the kind list, in its order.
constexpr int kKindCount = 3;

// One row of the source list.
struct SourceRow {
    std::string name;
    int32_t count = 0; // the count shown: of the selected kind, once it was counted
    std::string directory;
    uint64_t totalBytes = 0; // the sizes of every file the count shown examined
    int image = 0;           // 0 file, 1 folder
    // The count of each input kind, without and with the whole tree (the
    // check box), -1 while that was not counted; and the byte totals.
    int32_t countOfKind[2][kKindCount] = {{-1, -1, -1}, {-1, -1, -1}};
    uint64_t totalBytesOf[2] = {0, 0};
};

// The directory, a backslash where needed, and the name.
std::string FullPathOf(const SourceRow &row);

// The remaining-time text for a count or a run that started at `startTick`,
// at tick `now`, with `done` of `total` bytes read.
std::string RemainingTimeText(uint64_t total, uint64_t done, DWORD startTick, DWORD now);

// How far a progress bar's values are shifted right so that `maximum` fits
// its signed 32-bit range.
int ProgressShift(uint64_t maximum);

// What objects dropped away from the list and the destination are for.
enum class DropPurpose { None, Sources, Destination };

// The modal windows that live beside the main window: the About box and the
// drop-purpose dialog.
class ModalWindows {
public:
    virtual ~ModalWindows() = default;
    virtual void ShowAbout() = 0;
    // Asks the user; None when the dialog was cancelled or closed.
    virtual DropPurpose AskDropPurpose() = 0;
};

class TMainForm : public quillbox::win::BaseWindow<TMainForm> {
public:
    // The file-open dialog's buffer holds at least this many full paths.
    static constexpr size_t kOpenDialogPaths = 1000;

    TMainForm(Outside &outside, const InetMail &library);
    ~TMainForm();
    TMainForm(const TMainForm &) = delete;
    TMainForm &operator=(const TMainForm &) = delete;

    // Creates the window hidden, with its controls; FormCreate runs inside.
    bool Create();
    // The modal windows opened from here; set once they exist.
    void SetModalWindows(ModalWindows *windows) { modalWindows_ = windows; }

    // Offers a message of the program's own loop to the window's keyboard
    // interface (Tab, the buttons' accelerators); true when it was taken.
    bool PreTranslate(MSG &message);

    HWND Control(ControlId id) const { return GetDlgItem(hwnd_, id); }
    const std::vector<SourceRow> &Rows() const { return rows_; }
    TBrowseDialog &BrowseDialog() { return browseDialog_; }
    bool Busy() const { return busy_; }

    // The handlers and routines, as the window's controls and keys call them.
    void AboutBtnClick();
    void NewFileBtnClick();
    void NewFolderBtnClick();
    void DeleteBtnClick();
    void BrowseBtnClick();
    void HelpBtnClick();
    void StartBtnClick();
    void AddSource(const std::string &path);
    // The kind list's selection or the check box changed: every row shows
    // its count of the newly selected kind and reading, counted now where it
    // was not yet.
    void optConvertChange();
    // The input kind selected in the kind list.
    int32_t SelectedKind() const;
    // Whether the check box asks for whole trees with their structure kept.
    bool KeepTree() const;
    void SetControlsEnabled(bool enabled);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class KeyboardPreview;

    // Start-up and shutdown. FormCreate is false when the program must end.
    bool FormCreate();
    void FormDestroy();
    void CreateControls();
    void CreateToolTips();
    void FillSourceColumns();
    void BrowseDialogInit(TBrowseDialog &sender, HWND wnd, const std::string &path,
                          std::string &showText, TOKButtonState &okButtonState);
    void BrowseDialogSelChanged(TBrowseDialog &sender, HWND wnd, const std::string &path,
                                std::string &showText, TOKButtonState &okButtonState);
    // Files dropped from the shell.
    void FormDropFiles(HDROP drop);
    // Hands the drops that waited back to the window once it is idle.
    void RepostDrops();

    // Keys offered before the focused control sees them; true when consumed.
    bool PreviewKey(WPARAM key);
    bool KeyIsForThisWindow() const;
    void FromCtrlKeyDown(WPARAM key);

    // Busy phases.
    void ProcessMessages();
    void ShowStartButton(bool show);
    // Progress: a new count or run starts now; the bar's maximum (scaled to
    // fit); the bar and the time text at one report.
    void StartProgressPhase();
    void SetBarRange(uint64_t maximum);
    void SetProgressText(const std::string &text);
    void ShowProgress(uint64_t position, const std::string &text);
    // Closes the window when a close was asked for during a handler and the
    // outermost handler has returned.
    void CloseIfAsked();
    void AppendRow(const SourceRow &row);
    void ShowRowCount(int index);
    // Whether path names a listed kind of source: a file or folder that is
    // there, or a drive root; folder tells which.
    static bool SourceExists(const std::string &path, bool &folder);
    // The window busy for counts and runs (controls disabled, the start
    // button hidden), and idle again (the bar and the time text gone too).
    void EnterBusyPhase();
    void LeaveBusyPhase();
    // Counts path as the given kind, inside a count phase, with the progress
    // bar and the time text of its own; false when a close was asked for
    // meanwhile (the result is then not to be used).
    bool CountSource(const std::string &path, int32_t kind, bool tree, int32_t &count,
                     uint64_t &totalBytes, int32_t &resultCode);
    std::string RemainingTimeText(uint64_t total, uint64_t done) const;

    // Progress reports of the library.
    static int32_t CORVEX_CALL CountProgress(uint32_t totalLow, uint32_t totalHigh,
                                             uint32_t doneLow, uint32_t doneHigh);
    static int32_t CORVEX_CALL ExtractProgress(uint32_t totalLow, uint32_t totalHigh,
                                               uint32_t doneLow, uint32_t doneHigh);
    void OnCountProgress(uint64_t total, uint64_t done);
    void OnExtractProgress(uint64_t total, uint64_t done);
    void RunRows(const std::string &destination, int32_t kind, bool tree, bool &failed);
    void ShowResult(int32_t code, const SourceRow &row, const std::string &destination);

    // Runs a handler, showing a failure raised inside it in the general
    // error box.
    void Guarded(const std::function<void()> &handler);

    void Notice(NoticeKind kind, const std::string &text, bool beep = true);

    Outside &outside_;
    InetMail library_;
    ModalWindows *modalWindows_ = nullptr;
    TBrowseDialog browseDialog_;
    std::string openDialogFolder_;
    HtmlHelpProc helpEngine_ = nullptr;

    Font font_;
    HWND toolTip_ = nullptr;
    HIMAGELIST sourceImages_ = nullptr;
    HIMAGELIST startImages_ = nullptr;
    std::vector<HICON> icons_;

    std::vector<SourceRow> rows_;
    int32_t shownKind_ = 0; // the kind whose counts the list shows
    bool shownTree_ = false; // and whether they are of whole trees
    bool busy_ = false;
    int handlerDepth_ = 0;     // handlers running, nested ones counted too
    bool closeAsked_ = false;  // a close came while a handler ran
    DropQueue pendingDrops_;   // drops that came while a handler ran

    // Progress of the count or run in progress.
    DWORD startTick_ = 0;
    int progressShift_ = 0;
    // The progress controls, looked up once: every report uses them.
    HWND progBar_ = nullptr, progText_ = nullptr;
    static constexpr DWORD kFrameMs = 16;
    int barMaximum_ = 0, barWidth_ = 0, barPixel_ = -1;
    DWORD barMoved_ = 0, lastPump_ = 0;
    bool pumpedInPhase_ = false;
    int64_t totalBytes_ = 0;
    int64_t finishedBytes_ = 0;
    int64_t currentFileSize_ = 0;
    std::string progressText_;
    HWND lastFocus_ = nullptr;
    bool hourglass_ = false;

    // The window that the library's progress reports go to: the program has
    // one main window, and the reports carry no context.
    static TMainForm *progressForm_;
};

} // namespace quillrun
