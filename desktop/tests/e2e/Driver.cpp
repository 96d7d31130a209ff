// Drives the real Quillrun.exe from outside, as a user would: starts it,
// finds its windows by class and caption, sets fields and clicks controls
// by their ids, answers the real file-open dialog and the message boxes,
// and saves pictures of the windows. Prints what it saw, one "key=value"
// line each, and exits 0 when every step worked.
//
//   Driver.exe extract PROGRAM MAILFILE OUTFOLDER KIND SCREENSHOTS
//   Driver.exe refused PROGRAM SCREENSHOTS
//   Driver.exe close-while-busy PROGRAM MAILFILE OUTFOLDER
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "RemoteWindow.h"
#include "Screenshot.h"
#include "WindowWalk.h"

using namespace quillrun; // the window's control ids

namespace {

int failures = 0;

void Say(const std::string &key, const std::string &value) {
    std::printf("%s=%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

void Fail(const std::string &what) {
    ++failures;
    Say("failure", what);
}

std::string ClassOf(HWND window) {
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A visible top-level window of the process with this class (and caption,
// when given), or, with `owner`, owned by that window.
HWND FindTopWindow(DWORD process, const std::string &className, const char *caption,
                   HWND owner = nullptr) {
    HWND found = nullptr;
    ForEachTopWindow([&](HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != process || !IsWindowVisible(window) || ClassOf(window) != className)
            return true;
        if (caption && RemoteText(window) != caption)
            return true;
        if (owner && GetWindow(window, GW_OWNER) != owner)
            return true;
        found = window;
        return false;
    });
    return found;
}

HWND WaitForTopWindow(DWORD process, const std::string &className, const char *caption,
                      HWND owner = nullptr) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(process, className, caption, owner)) != nullptr; });
    return found;
}

// The text of a message box: its static text that is not the icon.
std::string BoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static" && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
            std::string t = RemoteText(child);
            if (!t.empty())
                text = t;
        }
    }
    return text;
}

// Cell text of another process's list view, through memory in that process.
std::string RemoteCell(HANDLE process, HWND list, int row, int column) {
    const SIZE_T size = sizeof(LVITEMA) + 512;
    char *remote = static_cast<char *>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return "?";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = 512;
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
    char text[512] = "";
    ReadProcessMemory(process, remote + sizeof(LVITEMA), text, sizeof text - 1, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

struct Program {
    PROCESS_INFORMATION info = {};
    bool Start(const std::string &path) {
        std::string folder = path.substr(0, path.find_last_of('\\'));
        std::string command = "\"" + path + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info) != FALSE;
    }
    bool WaitForExit(DWORD &code, DWORD timeout = kWait) {
        if (WaitForSingleObject(info.hProcess, timeout) != WAIT_OBJECT_0)
            return false;
        return GetExitCodeProcess(info.hProcess, &code) != FALSE;
    }
    ~Program() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

void Picture(HWND window, const std::string &folder, const std::string &name) {
    // Let the window finish painting before the picture is taken.
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    if (!SaveWindowPicture(window, folder + "\\" + name + ".bmp"))
        Fail("picture " + name);
    else
        Say("picture", name);
}

// Real key input to the foreground window: `modifier` (0 for none) held
// around a press of `key`.
void PressKeys(WORD modifier, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (modifier)
        add(modifier, false);
    add(key, false);
    add(key, true);
    if (modifier)
        add(modifier, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Makes the window the one that gets the keyboard.
bool BringForward(HWND window) {
    SetForegroundWindow(window);
    return WaitFor([&] { return GetForegroundWindow() == window; });
}


// Answers a message box with its only button.
void Dismiss(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

HWND StartMain(Program &program, const std::string &path) {
    if (!program.Start(path)) {
        Fail("the program did not start");
        return nullptr;
    }
    WaitForInputIdle(program.info.hProcess, kWait);
    HWND main = WaitForTopWindow(program.info.dwProcessId, "TMainForm", "Quillbox");
    if (!main)
        Fail("no main window");
    return main;
}

// Adds a file through the real file-open dialog; true when its row appeared.
bool AddThroughOpenDialog(Program &program, HWND main, const std::string &file) {
    HWND list = GetDlgItem(main, IdFromCtrl);
    LRESULT rowsBefore = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    RemoteClick(GetDlgItem(main, IdNewFileBtn));
    HWND dialog = WaitForTopWindow(program.info.dwProcessId, "#32770", nullptr, main);
    if (!dialog) {
        Fail("no file-open dialog");
        return false;
    }
    Say("open-dialog", RemoteText(dialog));
    // The file name field: a combo box (cmb13) or an edit (edt1).
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    if (!name) {
        Fail("no file name field in the dialog");
        return false;
    }
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    bool added = WaitFor([&] {
        return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rowsBefore + 1 &&
               IsWindowVisible(GetDlgItem(main, IdStartBtn)) &&
               IsWindowEnabled(GetDlgItem(main, IdFromCtrl));
    });
    if (!added)
        Fail("the chosen file did not become a row");
    return added;
}

int Extract(const std::string &programPath, const std::string &mail, const std::string &out,
            int kind, const std::string &pictures) {
    Program program;
    HWND main = StartMain(program, programPath);
    if (!main)
        return 1;
    Picture(main, pictures, "main-idle");
    SendMessageA(GetDlgItem(main, IdToCtrl), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
    // The kind as a user's choice tells it: the selection, then the list's
    // notice of it, so that the row is counted as that kind.
    HWND kinds = GetDlgItem(main, IdOptConvert);
    SendMessageA(kinds, CB_SETCURSEL, kind, 0);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IdOptConvert, CBN_SELCHANGE), reinterpret_cast<LPARAM>(kinds));
    if (!AddThroughOpenDialog(program, main, mail))
        return 1;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, program.info.dwProcessId);
    HWND list = GetDlgItem(main, IdFromCtrl);
    Say("row-name", RemoteCell(process, list, 0, 0));
    Say("row-count", RemoteCell(process, list, 0, 1));
    Say("row-folder", RemoteCell(process, list, 0, 2));
    CloseHandle(process);
    Picture(main, pictures, "main-after-count");

    // Alt+A as a user presses it opens the About box; Enter closes it.
    if (!BringForward(main))
        Fail("the main window did not come to the front");
    PressKeys(VK_MENU, 'A');
    HWND about = WaitForTopWindow(program.info.dwProcessId, "TAboutDlg", nullptr);
    if (!about) {
        Fail("Alt+A did not open the About box");
    } else {
        Say("about-caption", RemoteText(about));
        Say("about-main-enabled", IsWindowEnabled(main) ? "yes" : "no");
        Picture(about, pictures, "about");
        BringForward(about);
        PressKeys(0, VK_RETURN);
        if (!WaitFor([&] { return !IsWindowVisible(about); }))
            Fail("Enter did not close the About box");
        Say("about-closed", "yes");
        if (!WaitFor([&] { return IsWindowEnabled(main) != FALSE; }))
            Fail("the main window stayed disabled after the About box");
    }

    RemoteClick(GetDlgItem(main, IdStartBtn));
    HWND box = WaitForTopWindow(program.info.dwProcessId, "#32770", nullptr, main);
    if (!box) {
        Fail("no closing message");
        return 1;
    }
    Say("box-caption", RemoteText(box));
    Say("box-text", BoxText(box));
    Picture(box, pictures, "run-finished");
    Dismiss(box);
    if (!WaitFor([&] { return !IsWindow(box); }))
        Fail("the closing message did not close");
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    if (!program.WaitForExit(code))
        Fail("the program did not end after its window closed");
    Say("exit-code", std::to_string(code));
    return failures ? 1 : 0;
}

int Refused(const std::string &programPath, const std::string &pictures) {
    Program program;
    if (!program.Start(programPath)) {
        Fail("the program did not start");
        return 1;
    }
    HWND box = WaitForTopWindow(program.info.dwProcessId, "#32770", nullptr);
    if (!box) {
        Fail("no refusal");
        return 1;
    }
    Say("box-caption", RemoteText(box));
    Say("box-text", BoxText(box));
    Say("main-window", FindTopWindow(program.info.dwProcessId, "TMainForm", nullptr) ? "yes" : "no");
    Picture(box, pictures, "refused");
    Dismiss(box);
    DWORD code = 99;
    if (!program.WaitForExit(code))
        Fail("the program did not end after the refusal");
    Say("exit-code", std::to_string(code));
    return failures ? 1 : 0;
}

int CloseWhileBusy(const std::string &programPath, const std::string &mail,
                   const std::string &out) {
    Program program;
    HWND main = StartMain(program, programPath);
    if (!main)
        return 1;
    SendMessageA(GetDlgItem(main, IdToCtrl), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
    if (!AddThroughOpenDialog(program, main, mail))
        return 1;
    RemoteClick(GetDlgItem(main, IdStartBtn));
    // The library is extracting once the first message is written.
    std::string first = out + "\\00001.eml";
    if (!WaitFor([&] { return GetFileAttributesA(first.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
        Fail("the run did not start");
        return 1;
    }
    // The system close box, while the library is extracting.
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Say("closed-while-busy", "yes");
    DWORD code = 99;
    if (!program.WaitForExit(code, 120000))
        Fail("the program lived on after its window was closed during the run");
    Say("exit-code", std::to_string(code));
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 6 && args[0] == "extract")
        return Extract(args[1], args[2], args[3], std::stoi(args[4]), args[5]);
    if (args.size() == 3 && args[0] == "refused")
        return Refused(args[1], args[2]);
    if (args.size() == 4 && args[0] == "close-while-busy")
        return CloseWhileBusy(args[1], args[2], args[3]);
    std::fprintf(stderr, "usage: see the top of Driver.cpp\n");
    return 2;
}
