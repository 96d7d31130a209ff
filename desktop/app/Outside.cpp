#include "Outside.h"

#include <windows.h>
#include <shellapi.h>

namespace quillrun {

void RealOutside::Beep() { MessageBeep(0); }

int RealOutside::ShowMessageBox(HWND owner, const std::string &text, const char *caption, UINT flags) {
    return MessageBoxA(owner, text.c_str(), caption, flags);
}

bool RealOutside::RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) {
    if (GetOpenFileNameA(&dialog)) {
        error = 0;
        return true;
    }
    error = CommDlgExtendedError();
    return false;
}

HRESULT RealOutside::GetShellMalloc(IMalloc **allocator) { return SHGetMalloc(allocator); }

HRESULT RealOutside::GetDesktopFolder(IShellFolder **folder) { return SHGetDesktopFolder(folder); }

LPITEMIDLIST RealOutside::BrowseForFolder(BROWSEINFOA &browse) {
    return SHBrowseForFolderA(&browse);
}

HtmlHelpProc RealOutside::LoadHelpEngine() {
    // Loaded once for the program's life; help simply does nothing without it.
    HMODULE engine = LoadLibraryA("hhctrl.ocx");
    if (!engine)
        return nullptr;
    return reinterpret_cast<HtmlHelpProc>(
        reinterpret_cast<void *>(GetProcAddress(engine, "HtmlHelpA")));
}

HINSTANCE RealOutside::ShellExecuteTarget(HWND owner, const char *verb, const char *file,
                                    const char *parameters, const char *directory, int show) {
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}

bool RealOutside::PlatformVersion(OSVERSIONINFOA &version) {
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExA(&version) != FALSE;
#pragma GCC diagnostic pop
}

void RealOutside::EndProgram(UINT exitCode) { ExitProcess(exitCode); }

DWORD RealOutside::Ticks() { return GetTickCount(); }

} // namespace quillrun
