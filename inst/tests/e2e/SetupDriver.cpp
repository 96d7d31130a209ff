// Drives the real installer from outside, as a user would: starts the
// package (or the registered uninstall command), finds the pages and the
// message boxes among all the windows on the screen, reads what they say,
// clicks their buttons by control id, holds a file open where a run is to
// fail, and saves a picture of every page and box. Also reads back what an
// install left: registry values, shortcuts, files. Prints one "key=value"
// line for each thing it saw and exits 0 when every step worked.
//
//   SetupDriver.exe install PACKAGE SHOTS TAG
//   SetupDriver.exe interrupt PACKAGE SHOTS TAG HELDNAME
//   SetupDriver.exe cancel-again PACKAGE SHOTS TAG
//   SetupDriver.exe uninstall SHOTS TAG UNINSTALLKEY [HELDFILE]
//   SetupDriver.exe refused PROGRAM SHOTS TAG
//   SetupDriver.exe quillrun PROGRAM
//   SetupDriver.exe reg KEY            (below HKEY_LOCAL_MACHINE)
//   SetupDriver.exe link LINKFILE
//   SetupDriver.exe folders            (the temporary and the Windows folder)
#include <windows.h>

#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PageIds.h"
#include "RemoteWindow.h"
#include "Screenshot.h"
#include "WindowWalk.h"

namespace {

int failures = 0;

// One line per value: its line breaks are written as the control bytes
// 0x01 (CR) and 0x02 (LF), which no path or text of the installer holds.
void Say(const std::string &key, const std::string &value) {
    std::string line = key + "=";
    for (const char c : value)
        line += c == '\r' ? '\x01' : c == '\n' ? '\x02' : c;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void Fail(const std::string &what) {
    ++failures;
    Say("failure", what);
}

std::string ItemText(HWND dialog, int id) { return RemoteText(GetDlgItem(dialog, id)); }

// The first line of a page's text box, as UTF-8.
std::string FirstLine(HWND dialog, int id) {
    const std::string text = RemoteTextUtf8(GetDlgItem(dialog, id));
    return text.substr(0, text.find_first_of("\r\n"));
}

bool IsDialog(HWND window) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770" && IsWindowVisible(window);
}

// Every visible dialog on the screen that passes the test. The tests look
// at a dialog's controls, which another process builds and tears down while
// the driver looks: a dialog shows only once its controls are all made, and
// hides before they go. So one that is visible both before and after its
// test was whole while it was tested, and is not a page half torn down that
// happens to lack the controls of its kind.
HWND FindDialog(const std::function<bool(HWND)> &test) {
    HWND found = nullptr;
    ForEachTopWindow([&](HWND window) {
        if (!IsDialog(window) || !test(window) || !IsWindowVisible(window))
            return true;
        found = window;
        return false;
    });
    return found;
}

enum class Page { Licence, Folder, Progress, Finish, Interrupted };
const char *const kPageNames[] = {"licence", "folder", "progress", "finish", "interrupted"};

// The pages by the controls only they have.
bool IsPage(HWND window, Page page) {
    if (!GetDlgItem(window, IDC_TITLE))
        return false;
    const bool licence = GetDlgItem(window, IDC_AGREE), folder = GetDlgItem(window, IDC_FOLDER),
               progress = GetDlgItem(window, IDC_PROGRESS),
               finish = GetDlgItem(window, IDC_README_TEXT);
    switch (page) {
    case Page::Licence:
        return licence;
    case Page::Folder:
        return folder;
    case Page::Progress:
        return progress;
    case Page::Finish:
        return finish;
    case Page::Interrupted:
        return !licence && !folder && !progress && !finish;
    }
    return false;
}

HWND WaitForPage(Page page) {
    HWND found = nullptr;
    if (!WaitFor([&] { return (found = FindDialog([&](HWND w) { return IsPage(w, page); })); })) {
        Fail(std::string("no ") + kPageNames[static_cast<int>(page)] + " page");
        return nullptr;
    }
    const std::string name = kPageNames[static_cast<int>(page)];
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void *>(found));
    Say("page", name + " " + handle);
    Say("caption", RemoteText(found));
    Say(name + "-title", ItemText(found, IDC_TITLE));
    return found;
}

// A message box: a dialog without the pages' title, with a text.
std::string BoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "Static" && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON) &&
            !RemoteText(child).empty())
            text = RemoteText(child);
    }
    return text;
}

HWND WaitForBox(const std::string &key) {
    HWND box = nullptr;
    if (!WaitFor([&] {
            return (box = FindDialog([](HWND w) {
                        return !GetDlgItem(w, IDC_TITLE) && !BoxText(w).empty();
                    }));
        })) {
        Fail("no message box for " + key);
        return nullptr;
    }
    Say(key + "-caption", RemoteText(box));
    Say(key, BoxText(box));
    return box;
}

void Picture(HWND window, const std::string &shots, const std::string &name) {
    // Let the window finish painting before the picture is taken.
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    if (SaveWindowPicture(window, shots + "\\" + name + ".bmp"))
        Say("picture", name);
    else
        Fail("picture " + name);
}

// Moves a message box below the page it covers, so that a picture of the
// page shows all of it.
void MoveBelow(HWND box, HWND page) {
    RECT under;
    GetWindowRect(page, &under);
    SetWindowPos(box, nullptr, under.left, under.bottom + 8, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Click(HWND dialog, int id) { RemoteClick(GetDlgItem(dialog, id)); }

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

// Answers a box and waits until it has closed, so that the next box looked
// for is not this one on its way out.
void Answer(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    if (!Gone(box))
        Fail("a box stayed open after its answer");
}

// Every visible window on the screen, for the log of a step that failed:
// which program still shows what.
void SayWindows() {
    ForEachTopWindow([](HWND window) {
        if (!IsWindowVisible(window))
            return true;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        const HWND next = GetDlgItem(window, IDC_NEXT);
        char handle[32];
        std::snprintf(handle, sizeof handle, "%p", static_cast<void *>(window));
        Say("window", std::to_string(pid) + " " + handle + " " + name + " \"" + RemoteText(window) +
                          "\" title \"" + ItemText(window, IDC_TITLE) + "\" next " +
                          (next ? IsWindowEnabled(next) ? "enabled" : "disabled" : "none"));
        return true;
    });
}

// Ends every program that still shows an installer page: a step that
// failed must not leave one for the next step to find.
void EndInstallers() {
    ForEachTopWindow([](HWND window) {
        if (!GetDlgItem(window, IDC_TITLE))
            return true;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, kWait);
            CloseHandle(process);
        }
        return true;
    });
}

// A started process, ended (with any installer it started) if the driver
// leaves it running.
class Process {
public:
    explicit Process(HANDLE handle = nullptr) : handle_(handle) {}
    ~Process() {
        if (handle_) {
            if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
                TerminateProcess(handle_, 99);
                EndInstallers();
            }
            CloseHandle(handle_);
        }
    }
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    HANDLE get() const { return handle_; }
    void SayExit(const std::string &key) {
        DWORD code = 99;
        if (!handle_ || WaitForSingleObject(handle_, kWait) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(handle_, &code)) {
            Fail(key + " did not end");
            SayWindows();
        } else
            Say(key, std::to_string(code));
    }

private:
    HANDLE handle_;
};

// As the shell starts a file that the user opens.
HANDLE OpenFile(const std::string &path) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess) {
        Fail("could not start " + path);
        return nullptr;
    }
    return info.hProcess;
}

// As the control panel starts a registered command line.
HANDLE StartCommand(const std::string &commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        Fail("could not start " + commandLine);
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

// The full path of the program that made a window.
std::string ProgramOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    char path[MAX_PATH] = "";
    if (process) {
        GetModuleFileNameExA(process, nullptr, path, sizeof path);
        CloseHandle(process);
    }
    return path;
}

std::string FolderOf(const std::string &path) { return path.substr(0, path.rfind('\\')); }

// A file held open without sharing: the installer can neither move nor
// delete it while the hold lasts.
class Hold {
public:
    explicit Hold(const std::string &path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE)
            Fail("could not hold " + path);
        else
            Say("held", path);
    }
    ~Hold() { Release(); }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
    void Release() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// Chooses "I Agree" until Next is enabled: a radio button's click may be
// cancelled by a change of focus, and choosing it again changes nothing else.
bool Agree(HWND page) {
    return WaitFor([&] {
        if (IsWindowEnabled(GetDlgItem(page, IDC_NEXT)))
            return true;
        Click(page, IDC_AGREE);
        return false;
    });
}

// The licence page: read, agree, Next.
bool AcceptLicence(const std::string &shots, const std::string &tag) {
    const HWND page = WaitForPage(Page::Licence);
    if (!page)
        return false;
    Say("licence-first-line", FirstLine(page, IDC_LICENCE_TEXT));
    Say("licence-next-enabled", IsWindowEnabled(GetDlgItem(page, IDC_NEXT)) ? "yes" : "no");
    Picture(page, shots, "setup-" + tag + "-licence");
    if (!Agree(page))
        Fail("Next stayed disabled after I Agree");
    Click(page, IDC_NEXT);
    return Gone(page);
}

HWND ShowFolderPage(const std::string &shots, const std::string &name) {
    const HWND page = WaitForPage(Page::Folder);
    if (!page)
        return nullptr;
    Say("folder", ItemText(page, IDC_FOLDER));
    Say("folder-prompt", ItemText(page, IDC_PROMPT));
    Say("folder-editable", IsWindowEnabled(GetDlgItem(page, IDC_FOLDER)) ? "yes" : "no");
    Say("browse-shown", IsWindowVisible(GetDlgItem(page, IDC_BROWSE)) ? "yes" : "no");
    Picture(page, shots, name);
    return page;
}

// Install on the folder page; Yes when asked to make the folder.
void InstallHere(HWND page, const std::string &shots, const std::string &tag) {
    const std::string folder = ItemText(page, IDC_FOLDER);
    const bool missing = GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    Click(page, IDC_NEXT);
    if (!missing)
        return;
    if (const HWND box = WaitForBox("create-question")) {
        Picture(box, shots, "setup-" + tag + "-create-folder");
        Answer(box, IDYES);
    }
}

int Install(const std::string &package, const std::string &shots, const std::string &tag) {
    Process process(OpenFile(package));
    if (!process.get() || !AcceptLicence(shots, tag))
        return 1;
    const HWND folder = ShowFolderPage(shots, "setup-" + tag + "-folder");
    if (!folder)
        return 1;
    InstallHere(folder, shots, tag);
    const HWND finish = WaitForPage(Page::Finish);
    if (!finish)
        return 1;
    Say("readme-shown", IsWindowVisible(GetDlgItem(finish, IDC_README_TEXT)) ? "yes" : "no");
    Say("readme-first-line", FirstLine(finish, IDC_README_TEXT));
    Say("cancel-enabled", IsWindowEnabled(GetDlgItem(finish, IDCANCEL)) ? "yes" : "no");
    Picture(finish, shots, "setup-" + tag + "-finish");
    Click(finish, IDC_NEXT);
    process.SayExit("exit-code");
    return failures ? 1 : 0;
}

int Interrupt(const std::string &package, const std::string &shots, const std::string &tag,
              const std::string &heldName) {
    Process process(OpenFile(package));
    if (!process.get())
        return 1;
    const HWND licence = WaitForPage(Page::Licence);
    if (!licence)
        return 1;
    // The package has unpacked its files beside the installer by now.
    const std::string unpacked = FolderOf(ProgramOf(licence));
    Say("unpacked-into", unpacked);
    Hold held(unpacked + "\\" + heldName);
    if (!Agree(licence))
        Fail("Next stayed disabled after I Agree");
    Click(licence, IDC_NEXT);
    const HWND folder = WaitForPage(Page::Folder);
    if (!folder)
        return 1;
    InstallHere(folder, shots, tag);
    // The move of the held file fails: the retry prompt over the progress page.
    const HWND box = WaitForBox("retry-prompt");
    const HWND progress = FindDialog([](HWND w) { return IsPage(w, Page::Progress); });
    if (!box || !progress) {
        Fail("no retry prompt over the progress page");
        return 1;
    }
    Say("progress-cancel-enabled", IsWindowEnabled(GetDlgItem(progress, IDCANCEL)) ? "yes" : "no");
    MoveBelow(box, progress);
    Picture(progress, shots, "setup-" + tag + "-progress");
    Picture(box, shots, "setup-" + tag + "-retry-copy");
    Answer(box, IDABORT);
    const HWND interrupted = WaitForPage(Page::Interrupted);
    if (!interrupted)
        return 1;
    Picture(interrupted, shots, "setup-" + tag + "-interrupted");
    held.Release();
    Click(interrupted, IDC_NEXT);
    process.SayExit("exit-code");
    Say("unpacked-left", GetFileAttributesA(unpacked.c_str()) == INVALID_FILE_ATTRIBUTES ? "no"
                                                                                          : "yes");
    return failures ? 1 : 0;
}

int CancelAgain(const std::string &package, const std::string &shots, const std::string &tag) {
    Process process(OpenFile(package));
    if (!process.get() || !AcceptLicence(shots, tag + "-again"))
        return 1;
    const HWND folder = ShowFolderPage(shots, "setup-" + tag + "-folder-old-version");
    if (!folder)
        return 1;
    Click(folder, IDCANCEL);
    const HWND box = WaitForBox("cancel-question");
    if (!box)
        return 1;
    Picture(box, shots, "setup-" + tag + "-confirm-exit");
    Answer(box, IDYES);
    const HWND interrupted = WaitForPage(Page::Interrupted);
    if (!interrupted)
        return 1;
    Click(interrupted, IDC_NEXT);
    process.SayExit("exit-code");
    return failures ? 1 : 0;
}

std::string RegistryValue(const std::string &key, const char *name) {
    char value[2048] = "";
    DWORD size = sizeof value - 1;
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return "";
    RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(k);
    return value;
}

int Uninstall(const std::string &shots, const std::string &tag, const std::string &key,
              const std::string &heldFile) {
    const std::string command = RegistryValue(key, "UninstallString");
    Say("command", command);
    Process first(StartCommand(command));
    if (!first.get())
        return 1;
    const HWND question = WaitForBox("remove-question");
    if (!question)
        return 1;
    Picture(question, shots, "setup-" + tag + "-remove-question");
    std::unique_ptr<Hold> held;
    if (!heldFile.empty())
        held.reset(new Hold(heldFile));
    Answer(question, IDYES);
    if (held) {
        // Its deletion fails: the retry prompt over the removal's progress page.
        const HWND box = WaitForBox("retry-prompt");
        const HWND progress = FindDialog([](HWND w) { return IsPage(w, Page::Progress); });
        if (!box || !progress)
            return 1;
        Say("progress-cancel-enabled",
            IsWindowEnabled(GetDlgItem(progress, IDCANCEL)) ? "yes" : "no");
        MoveBelow(box, progress);
        Picture(progress, shots, "setup-" + tag + "-removal-progress");
        Picture(box, shots, "setup-" + tag + "-retry-delete");
        held.reset();
        Answer(box, IDRETRY);
    }
    const HWND finish = WaitForPage(Page::Finish);
    if (!finish)
        return 1;
    first.SayExit("first-stage-exit-code");
    const std::string second = ProgramOf(finish);
    Say("second-stage", second);
    Say("readme-shown", IsWindowVisible(GetDlgItem(finish, IDC_README_TEXT)) ? "yes" : "no");
    Picture(finish, shots, "setup-" + tag + "-removal-finish");
    Click(finish, IDC_NEXT);
    // The command interpreter deletes the temporary copy once it has ended.
    const bool deleted = WaitFor(
        [&] { return GetFileAttributesA(second.c_str()) == INVALID_FILE_ATTRIBUTES; });
    Say("second-stage-deleted", deleted ? "yes" : "no");
    return failures ? 1 : 0;
}

int Refused(const std::string &program, const std::string &shots, const std::string &tag) {
    Process process(OpenFile(program));
    const HWND box = process.get() ? WaitForBox("refusal") : nullptr;
    if (!box)
        return 1;
    Say("pages", FindDialog([](HWND w) { return GetDlgItem(w, IDC_TITLE) != nullptr; }) ? "yes"
                                                                                          : "no");
    Picture(box, shots, "setup-" + tag + "-not-from-temp");
    Answer(box, IDOK);
    process.SayExit("exit-code");
    return failures ? 1 : 0;
}

int Quillrun(const std::string &program) {
    Process process(OpenFile(program));
    HWND main = nullptr;
    if (!process.get() ||
        !WaitFor([&] { return (main = FindWindowA("TMainForm", "Quillbox")) != nullptr; })) {
        Fail("no main window");
        return 1;
    }
    Say("main-window", ProgramOf(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    process.SayExit("exit-code");
    return failures ? 1 : 0;
}

int Registry(const std::string &key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) {
        Say("exists", "no");
        return 0;
    }
    Say("exists", "yes");
    for (DWORD i = 0;; ++i) {
        char name[256] = "", data[2048] = "";
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (RegEnumValueA(k, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE *>(data),
                          &dataSize) != ERROR_SUCCESS)
            break;
        Say(std::string("value:") + name, type == REG_SZ ? data : "(not a string)");
    }
    RegCloseKey(k);
    return 0;
}

int Link(const std::string &path) {
    CoInitialize(nullptr);
    IShellLinkA *link = nullptr;
    IPersistFile *file = nullptr;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) ||
        FAILED(file->Load(wide, STGM_READ))) {
        Say("link", "unreadable");
    } else {
        char text[1024] = "";
        int index = -1;
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        Say("target", text);
        link->GetArguments(text, sizeof text);
        Say("arguments", text);
        link->GetDescription(text, sizeof text);
        Say("description", text);
        link->GetIconLocation(text, sizeof text, &index);
        Say("icon", text);
        Say("icon-index", std::to_string(index));
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> a(argv + 1, argv + argc);
    const size_t n = a.size();
    if (n == 4 && a[0] == "install")
        return Install(a[1], a[2], a[3]);
    if (n == 5 && a[0] == "interrupt")
        return Interrupt(a[1], a[2], a[3], a[4]);
    if (n == 4 && a[0] == "cancel-again")
        return CancelAgain(a[1], a[2], a[3]);
    if ((n == 4 || n == 5) && a[0] == "uninstall")
        return Uninstall(a[1], a[2], a[3], n == 5 ? a[4] : "");
    if (n == 4 && a[0] == "refused")
        return Refused(a[1], a[2], a[3]);
    if (n == 2 && a[0] == "quillrun")
        return Quillrun(a[1]);
    if (n == 2 && a[0] == "reg")
        return Registry(a[1]);
    if (n == 2 && a[0] == "link")
        return Link(a[1]);
    if (n == 1 && a[0] == "folders") {
        char path[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, path);
        Say("temp", path);
        GetWindowsDirectoryA(path, MAX_PATH);
        Say("windows", path);
        return 0;
    }
    std::fprintf(stderr, "usage: see the top of SetupDriver.cpp\n");
    return 2;
}
