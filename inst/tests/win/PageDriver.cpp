#include "PageDriver.h"

#include <vector>

namespace setup::test {

namespace {

struct Waiting {
    std::function<HWND()> find;
    std::function<void(HWND)> script;
    UINT_PTR timer;
};

// At most a few scripts wait at once (a page's, then its picker's).
std::vector<Waiting> waiting;

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    for (size_t i = 0; i < waiting.size(); ++i) {
        if (waiting[i].timer != timer)
            continue;
        const HWND window = waiting[i].find();
        if (!window)
            return;
        ::KillTimer(nullptr, timer);
        const std::function<void(HWND)> script = waiting[i].script;
        waiting.erase(waiting.begin() + static_cast<long>(i));
        script(window);
        return;
    }
}

struct Search {
    int controlId;
    HWND owner;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    Search &search = *reinterpret_cast<Search *>(data);
    if (!::IsWindowVisible(window))
        return TRUE;
    if (search.owner ? ::GetWindow(window, GW_OWNER) == search.owner
                     : ::GetDlgItem(window, search.controlId) != nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOnThread(int controlId, HWND owner) {
    Search search{controlId, owner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

void WhenShown(const std::function<HWND()> &find, const std::function<void(HWND)> &script) {
    waiting.push_back(Waiting{find, script, ::SetTimer(nullptr, 0, 20, Tick)});
}

int DrivePage(const std::function<int()> &show, const std::function<void(HWND page)> &script) {
    WhenShown([] { return ThreadWindowWith(1012); },
              [&](HWND page) {
                  script(page);
                  // A page still open after its script would keep the test waiting.
                  if (::IsWindow(page) && ::IsWindowVisible(page))
                      ::EndDialog(page, kLeftOpen);
              });
    const int result = show();
    for (const Waiting &w : waiting)
        ::KillTimer(nullptr, w.timer);
    waiting.clear();
    return result;
}

HWND ThreadWindowWith(int controlId) { return FindOnThread(controlId, nullptr); }

HWND OwnedDialog(HWND owner) { return FindOnThread(0, owner); }

void Click(HWND page, int controlId) {
    ::SendMessageA(::GetDlgItem(page, controlId), BM_CLICK, 0, 0);
}

std::string ControlText(HWND page, int controlId) {
    char text[4096] = "";
    ::GetDlgItemTextA(page, controlId, text, sizeof text);
    return text;
}

void SetControlText(HWND page, int controlId, const std::string &text) {
    ::SetDlgItemTextA(page, controlId, text.c_str());
}

bool IsShown(HWND page, int controlId) {
    return ::IsWindowVisible(::GetDlgItem(page, controlId)) != FALSE;
}

bool IsEnabled(HWND page, int controlId) {
    return ::IsWindowEnabled(::GetDlgItem(page, controlId)) != FALSE;
}

RECT ControlArea(HWND page, int controlId) {
    RECT area = {};
    GetWindowRect(GetDlgItem(page, controlId), &area);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT *>(&area), 2);
    return area;
}

COLORREF PixelOf(HWND page, POINT at) {
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HDC dc = GetDC(page);
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(page, dc);
    return colour;
}

} // namespace setup::test
