// TBrowseDialog: the program's component around the shell's folder
// browser. It turns a set of options into the shell's flags, opens the tree
// on the folder it returned last, lets event handlers set a status text and
// the OK button's state, and returns the chosen folder's path.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace quillrun {

class Outside;

enum TBrowseOption {
    biBrowseForComputer,
    biBrowseForPrinter,
    biDontGoBelowDomain,
    biReturnFSAncestors,
    biReturnOnlyFSDirs,
    biStatusText,
    biEditBox,
    biNewDialogStyle,
    biBrowseIncludeURLs,
    biUAHint,
    biNoNewFolderButton,
    biNoTranslateTargets,
    biShareable,
};

// A set of options.
class TBrowseOptions {
public:
    TBrowseOptions(std::initializer_list<TBrowseOption> options) {
        for (TBrowseOption option : options)
            bits_ |= 1u << option;
    }
    bool Has(TBrowseOption option) const { return (bits_ >> option) & 1u; }
    // The OR of the shell's BIF_ flags of every option in the set.
    UINT Flags() const;

private:
    uint32_t bits_ = 0;
};

enum TOKButtonState { obsDefault, obsEnabled, obsDisabled };

class TBrowseDialog;
// Sender, the dialog's window, the path, the status text and the OK
// button's state (the last two in/out).
using TBrowseDialogEvent = std::function<void(TBrowseDialog &sender, HWND wnd, std::string path,
                                              std::string &showText,
                                              TOKButtonState &okButtonState)>;

class TBrowseDialog {
public:
    explicit TBrowseDialog(Outside &outside);
    ~TBrowseDialog();
    TBrowseDialog(const TBrowseDialog &) = delete;
    TBrowseDialog &operator=(const TBrowseDialog &) = delete;

    // In: the folder selected when the dialog opens; out: the chosen folder.
    std::string Directory;
    // Text above the tree.
    std::string Caption;
    // The folder at the top of the tree; empty for the desktop.
    std::string Root;
    TBrowseOptions Options{biReturnOnlyFSDirs};
    TBrowseDialogEvent OnInitialized;
    TBrowseDialogEvent OnSelectionChanged;

    // The display name of the item chosen last.
    const std::string &DisplayName() const { return displayName_; }

    // Runs the dialog owned by `owner`, the application's window. True when a
    // folder was chosen; false when cancelled or when the shell's allocator is
    // missing. Raises RaisedError when the desktop folder or the name buffer
    // cannot be had.
    bool Execute(HWND owner);

    // The callback handed to the shell; `data` is the component.
    static int CALLBACK BrowseCallback(HWND wnd, UINT message, LPARAM parameter, LPARAM data);

private:
    int Callback(HWND wnd, UINT message, LPARAM parameter);

    Outside &outside_;
    std::string displayName_;
};

} // namespace quillrun
