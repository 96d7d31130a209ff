// The wizard pages as the install run and the removal see them. setup.exe
// passes its dialog pages; tests pass recorders that answer as a user would.
#pragma once

#include <memory>

namespace setup {

// The buttons that end a page, by their control ids.
enum PageButton : int { PageCancel = 2, PageBack = 1013, PageNext = 1014 };

enum class PageMode { Install, Removal };

// The modeless progress page. Its bar runs from 0 to 100; its Cancel button
// (install mode) sets the abort flag after confirmation, and is serviced
// only while the steps pump messages.
class ProgressPage {
public:
    virtual ~ProgressPage() = default;
    virtual void SetPosition(int percent) = 0;
    virtual void Close() = 0;
};

class SetupPages {
public:
    virtual ~SetupPages() = default;
    // The banner bitmap of every page, kept until the pages go.
    virtual void PrepareBanner() = 0;
    // Modal pages; each returns the PageButton that ended it.
    virtual int ShowLicence() = 0;
    // Sets the install folder of the setup context on leaving.
    virtual int ShowFolder() = 0;
    // The progress page, opened; null when it cannot be made.
    virtual std::unique_ptr<ProgressPage> OpenProgress(PageMode mode) = 0;
    virtual void ShowFinish(PageMode mode) = 0;
    virtual void ShowInterrupted() = 0;
};

// "Set p" of the steps: the bar to percent, then the pending messages, so
// that the page repaints and its Cancel button can be pressed.
void SetProgress(ProgressPage &page, int percent);

} // namespace setup
