// Offers every key press of the thread to the main window before the
// focused control gets it. The library dispatches the thread's messages
// itself during its calls, with no help from the program's loop, so the
// keys are caught where Windows hands them out: a keyboard hook on the
// thread sees a key whichever loop takes it from the queue.
#pragma once

#include <windows.h>

namespace quillrun {

class TMainForm;

class KeyboardPreview {
public:
    static void Install(TMainForm *form);
    static void Remove(TMainForm *form);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM key, LPARAM flags);
    static HHOOK hook_;
    static TMainForm *form_;
};

} // namespace quillrun
