// A recorder for the desktop program's outside world: every beep and box a
// user would see, in order, with the answers a test gives to the dialogs,
// the help engine and the shell.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Outside.h"

// The tests are the program's own: its names unqualified.
using namespace quillrun;

struct OutsideEvent {
    std::string kind;    // "beep", "box", "help", "shell", "end"
    std::string caption; // box: caption; shell: verb
    std::string text;    // box: text; help: file; shell: file
    UINT flags = 0;      // box: MB_ flags; help: command; end: exit code
    HWND owner = nullptr;
    bool inLibraryCall = false;
    std::string parameters, directory; // shell
    int show = 0;                      // shell
    DWORD_PTR data = 0;                // help
};

class TestOutside : public Outside {
public:
    TestOutside();
    ~TestOutside() override;

    std::vector<OutsideEvent> events;
    // The boxes only, as "caption|text".
    std::vector<std::string> Boxes() const;
    // Every event as one line: "beep", "box caption|text", "help file".
    std::vector<std::string> Lines() const;

    // Runs while a box is open (the box's answer is IDOK).
    std::function<void(const OutsideEvent &)> onBox;
    // Answers the file-open dialog; false (cancelled) when unset.
    std::function<bool(OPENFILENAMEA &, DWORD &)> openDialog;
    int openDialogCalls = 0;
    // Answers the folder browser; null (cancelled) when unset.
    std::function<LPITEMIDLIST(BROWSEINFOA &)> browse;
    // Replaces the shell's allocator or desktop folder when set.
    std::function<HRESULT(IMalloc **)> shellMalloc;
    std::function<HRESULT(IShellFolder **)> desktopFolder;
    // The help engine is missing when true.
    bool helpMissing = false;
    // The platform version that the program sees; the real one when unset.
    std::function<bool(OSVERSIONINFOA &)> version;
    // The clock that the program sees; the real one when unset.
    std::function<DWORD()> ticks;

    void Beep() override;
    int ShowMessageBox(HWND owner, const std::string &text, const char *caption,
                       UINT flags) override;
    bool RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) override;
    HRESULT GetShellMalloc(IMalloc **allocator) override;
    HRESULT GetDesktopFolder(IShellFolder **folder) override;
    LPITEMIDLIST BrowseForFolder(BROWSEINFOA &browse) override;
    HtmlHelpProc LoadHelpEngine() override;
    HINSTANCE ShellExecuteTarget(HWND owner, const char *verb, const char *file,
                                 const char *parameters, const char *directory,
                                 int show) override;
    bool PlatformVersion(OSVERSIONINFOA &version) override;
    void EndProgram(UINT exitCode) override;
    DWORD Ticks() override;

private:
    static HWND WINAPI HtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
    static TestOutside *current_;
};
