#include "BrowsDlg.h"

#include <set>
#include <vector>

#include "AnsiPath.h"
#include "LangRes.h"
#include "Notice.h"
#include "Outside.h"
#include "win/Handles.h"

namespace quillrun {

namespace {

// The shell flag of each option, in the order of TBrowseOption.
const UINT kOptionFlags[] = {0x1000, 0x2000, 0x0002, 0x0008, 0x0001, 0x0004, 0x0010,
                             0x0040, 0x0080, 0x0100, 0x0200, 0x0400, 0x8000};

// The components that exist, so the callback can tell whether its data is one.
std::set<const TBrowseDialog *> &LiveDialogs() {
    static std::set<const TBrowseDialog *> dialogs;
    return dialogs;
}

// Memory from the shell's allocator, freed with it.
class ShellMemory {
public:
    explicit ShellMemory(IMalloc *allocator, void *block = nullptr)
        : allocator_(allocator), block_(block) {}
    ~ShellMemory() {
        if (block_)
            allocator_->Free(block_);
    }
    ShellMemory(const ShellMemory &) = delete;
    ShellMemory &operator=(const ShellMemory &) = delete;
    void *&Block() { return block_; }

private:
    IMalloc *allocator_;
    void *block_;
};

BOOL CALLBACK CollectTaskWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
    return TRUE;
}

// Disables the application's top-level windows for the time of a modal
// shell call, and enables them again.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), CollectTaskWindow,
                          reinterpret_cast<LPARAM>(&windows_));
        for (HWND window : windows_)
            EnableWindow(window, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (HWND window : windows_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    TaskWindowsDisabled(const TaskWindowsDisabled &) = delete;
    TaskWindowsDisabled &operator=(const TaskWindowsDisabled &) = delete;

private:
    HWND active_;
    std::vector<HWND> windows_;
};

std::wstring Wide(const std::string &text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    return wide;
}

} // namespace

UINT TBrowseOptions::Flags() const {
    UINT flags = 0;
    for (int option = biBrowseForComputer; option <= biShareable; ++option)
        if (Has(static_cast<TBrowseOption>(option)))
            flags |= kOptionFlags[option];
    return flags;
}

TBrowseDialog::TBrowseDialog(Outside &outside) : outside_(outside) { LiveDialogs().insert(this); }

TBrowseDialog::~TBrowseDialog() { LiveDialogs().erase(this); }

bool TBrowseDialog::Execute(HWND owner) {
    quillbox::win::ComPtr<IMalloc> allocator;
    if (FAILED(outside_.GetShellMalloc(allocator.put())) || !allocator.get())
        return false;

    ShellMemory root(allocator.get());
    if (!Root.empty()) {
        quillbox::win::ComPtr<IShellFolder> desktop;
        if (FAILED(outside_.GetDesktopFolder(desktop.put())) || !desktop.get())
            throw RaisedError(LangRes::BrowseNoDesktopFolder);
        std::wstring wide = Wide(Root);
        ULONG eaten = 0;
        LPITEMIDLIST parsed = nullptr;
        // An unknown root starts the tree at the desktop.
        if (SUCCEEDED(desktop->ParseDisplayName(owner, nullptr, &wide[0], &eaten, &parsed,
                                                  nullptr)))
            root.Block() = parsed;
    }

    ShellMemory buffer(allocator.get(), allocator->Alloc(MAX_PATH));
    if (!buffer.Block())
        throw RaisedError(LangRes::BrowseNoBuffer);
    char *name = static_cast<char *>(buffer.Block());
    name[0] = '\0';

    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pidlRoot = static_cast<LPCITEMIDLIST>(root.Block());
    browse.pszDisplayName = name;
    browse.lpszTitle = Caption.c_str();
    browse.ulFlags = Options.Flags();
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(this);

    LPITEMIDLIST chosen = nullptr;
    {
        TaskWindowsDisabled modal;
        chosen = outside_.BrowseForFolder(browse);
    }
    if (!chosen)
        return false;
    ShellMemory item(allocator.get(), chosen);
    name[MAX_PATH - 1] = '\0';
    displayName_ = name;
    char path[MAX_PATH] = "";
    Directory = SHGetPathFromIDListA(chosen, path) ? path : "";
    return true;
}

int CALLBACK TBrowseDialog::BrowseCallback(HWND wnd, UINT message, LPARAM parameter,
                                           LPARAM data) {
    auto self = reinterpret_cast<TBrowseDialog *>(data);
    if (!LiveDialogs().count(self))
        return 0;
    try {
        return self->Callback(wnd, message, parameter);
    } catch (...) {
        // Nothing may unwind through the shell's code.
        return 0;
    }
}

int TBrowseDialog::Callback(HWND wnd, UINT message, LPARAM parameter) {
    std::string showText;
    TOKButtonState okButtonState = obsDefault;
    if (message == BFFM_SELCHANGED) {
        char path[513] = "";
        if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(parameter), path))
            path[0] = '\0';
        if (OnSelectionChanged)
            OnSelectionChanged(*this, wnd, path, showText, okButtonState);
    } else if (message == BFFM_INITIALIZED) {
        std::string path = Directory;
        if (path.size() > 3 && EndsWithBackslash(path))
            path.pop_back();
        if (!path.empty())
            SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        if (OnInitialized)
            OnInitialized(*this, wnd, path, showText, okButtonState);
    }
    SendMessageA(wnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(showText.c_str()));
    if (okButtonState == obsEnabled)
        SendMessageA(wnd, BFFM_ENABLEOK, 0, 1);
    else if (okButtonState == obsDisabled)
        SendMessageA(wnd, BFFM_ENABLEOK, 0, 0);
    return 0;
}

} // namespace quillrun
