#include "TestOutside.h"

#include "RecordingLibrary.h"

TestOutside *TestOutside::current_ = nullptr;

TestOutside::TestOutside() { current_ = this; }

TestOutside::~TestOutside() {
    if (current_ == this)
        current_ = nullptr;
}

std::vector<std::string> TestOutside::Boxes() const {
    std::vector<std::string> boxes;
    for (const OutsideEvent &event : events)
        if (event.kind == "box")
            boxes.push_back(event.caption + "|" + event.text);
    return boxes;
}

std::vector<std::string> TestOutside::Lines() const {
    std::vector<std::string> lines;
    for (const OutsideEvent &event : events) {
        if (event.kind == "box")
            lines.push_back("box " + event.caption + "|" + event.text);
        else if (event.kind == "beep")
            lines.push_back("beep");
        else
            lines.push_back(event.kind + " " + event.text);
    }
    return lines;
}

void TestOutside::Beep() {
    OutsideEvent event;
    event.kind = "beep";
    event.inLibraryCall = RecordingLibrary::InCall();
    events.push_back(event);
}

int TestOutside::ShowMessageBox(HWND owner, const std::string &text, const char *caption,
                                UINT flags) {
    OutsideEvent event;
    event.kind = "box";
    event.caption = caption;
    event.text = text;
    event.flags = flags;
    event.owner = owner;
    event.inLibraryCall = RecordingLibrary::InCall();
    events.push_back(event);
    if (onBox)
        onBox(event);
    return IDOK;
}

bool TestOutside::RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) {
    ++openDialogCalls;
    error = 0;
    return openDialog ? openDialog(dialog, error) : false;
}

HRESULT TestOutside::GetShellMalloc(IMalloc **allocator) {
    return shellMalloc ? shellMalloc(allocator) : SHGetMalloc(allocator);
}

HRESULT TestOutside::GetDesktopFolder(IShellFolder **folder) {
    return desktopFolder ? desktopFolder(folder) : SHGetDesktopFolder(folder);
}

LPITEMIDLIST TestOutside::BrowseForFolder(BROWSEINFOA &info) {
    return browse ? browse(info) : nullptr;
}

HtmlHelpProc TestOutside::LoadHelpEngine() { return helpMissing ? nullptr : HtmlHelp; }

HWND WINAPI TestOutside::HtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
    if (!current_)
        return nullptr;
    OutsideEvent event;
    event.kind = "help";
    event.owner = owner;
    event.text = file ? file : "(null)";
    event.flags = command;
    event.data = data;
    event.inLibraryCall = RecordingLibrary::InCall();
    current_->events.push_back(event);
    return nullptr;
}

HINSTANCE TestOutside::ShellExecuteTarget(HWND owner, const char *verb, const char *file,
                                          const char *parameters, const char *directory,
                                          int show) {
    OutsideEvent event;
    event.kind = "shell";
    event.owner = owner;
    event.caption = verb ? verb : "(null)";
    event.text = file ? file : "(null)";
    event.parameters = parameters ? parameters : "(null)";
    event.directory = directory ? directory : "(null)";
    event.show = show;
    events.push_back(event);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

bool TestOutside::PlatformVersion(OSVERSIONINFOA &info) {
    if (version)
        return version(info);
    RealOutside real;
    return real.PlatformVersion(info);
}

void TestOutside::EndProgram(UINT exitCode) {
    OutsideEvent event;
    event.kind = "end";
    event.flags = exitCode;
    events.push_back(event);
}

DWORD TestOutside::Ticks() { return ticks ? ticks() : GetTickCount(); }
