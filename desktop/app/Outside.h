// The desktop program's calls into the outside world that a test must see
// and answer: message boxes and their beep, the file-open dialog, the
// shell's folder browser, the help engine, the shell's "open", the platform
// version, the clock and the program's end. The program passes RealOutside;
// the tests pass recorders.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>

namespace quillrun {

// The help engine's entry point ("HtmlHelpA" of hhctrl.ocx).
typedef HWND(WINAPI *HtmlHelpProc)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

class Outside {
public:
    virtual ~Outside() = default;

    // The platform's default sound (MessageBeep with 0).
    virtual void Beep() = 0;
    // A modal message box; returns the button pressed.
    virtual int ShowMessageBox(HWND owner, const std::string &text, const char *caption,
                           UINT flags) = 0;
    // The file-open dialog; on false, `error` holds CommDlgExtendedError().
    virtual bool RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) = 0;
    // The shell's allocator and desktop folder, and its folder browser.
    virtual HRESULT GetShellMalloc(IMalloc **allocator) = 0;
    virtual HRESULT GetDesktopFolder(IShellFolder **folder) = 0;
    virtual LPITEMIDLIST BrowseForFolder(BROWSEINFOA &browse) = 0;
    // Loads the help engine by name; null when it is missing.
    virtual HtmlHelpProc LoadHelpEngine() = 0;
    // Asks the shell to open a target.
    virtual HINSTANCE ShellExecuteTarget(HWND owner, const char *verb, const char *file,
                                   const char *parameters, const char *directory,
                                   int show) = 0;
    // The platform's version (GetVersionExA).
    virtual bool PlatformVersion(OSVERSIONINFOA &version) = 0;
    // Ends the program at once with this exit code.
    virtual void EndProgram(UINT exitCode) = 0;
    // Milliseconds since the system started (GetTickCount), for the
    // progress display's frames and remaining time.
    virtual DWORD Ticks() = 0;
};

// The real calls.
class RealOutside : public Outside {
public:
    void Beep() override;
    int ShowMessageBox(HWND owner, const std::string &text, const char *caption, UINT flags) override;
    bool RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) override;
    HRESULT GetShellMalloc(IMalloc **allocator) override;
    HRESULT GetDesktopFolder(IShellFolder **folder) override;
    LPITEMIDLIST BrowseForFolder(BROWSEINFOA &browse) override;
    HtmlHelpProc LoadHelpEngine() override;
    HINSTANCE ShellExecuteTarget(HWND owner, const char *verb, const char *file, const char *parameters,
                           const char *directory, int show) override;
    bool PlatformVersion(OSVERSIONINFOA &version) override;
    void EndProgram(UINT exitCode) override;
    DWORD Ticks() override;
};

} // namespace quillrun
