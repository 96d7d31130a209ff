// Drives the installer's modal pages from inside their own message loop, as
// a user would: a thread timer finds the open page and runs a script on
// it, on the test's own thread (where the recorded message boxes answer).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "SetupTestSupport.h"
#include "WizardPages.h"

namespace setup::test {

// A run of a test package whose pages are real windows.
struct PageRun : PackageRun {
    std::unique_ptr<WizardPages> wizard;

    // A fresh run of the package with more script lines.
    void Script(const std::string &more) {
        pkg.WriteScript("[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName +
                        "\n" + more);
        Begin(pkg.Context());
        wizard.reset(new WizardPages(*setup, SetupTexts()));
    }
};

// Runs show(), which opens a modal page; as soon as the page is up, script
// runs on it. A page that the script leaves open is ended with kLeftOpen.
// Returns what show() returned.
constexpr int kLeftOpen = -2;
int DrivePage(const std::function<int()> &show, const std::function<void(HWND page)> &script);

// Runs script on the first window that find() returns while a modal loop
// of this thread (a page's, the folder picker's) runs. Call before the
// action that opens that window.
void WhenShown(const std::function<HWND()> &find, const std::function<void(HWND)> &script);

// A visible top-level window of this thread that holds the control id.
HWND ThreadWindowWith(int controlId);
// A visible dialog of this thread owned by owner.
HWND OwnedDialog(HWND owner);

// A click on a control of the page, handled before the call returns.
void Click(HWND page, int controlId);
std::string ControlText(HWND page, int controlId);
void SetControlText(HWND page, int controlId, const std::string &text);
bool IsShown(HWND page, int controlId);
bool IsEnabled(HWND page, int controlId);
// A control's rectangle in the page's client coordinates.
RECT ControlArea(HWND page, int controlId);
// The colour at a point of the page as the screen shows it, after the page
// has been painted afresh.
COLORREF PixelOf(HWND page, POINT at);

} // namespace setup::test
