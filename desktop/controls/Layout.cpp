#include "Layout.h"

namespace quillrun {

int SystemDpi() {
    static int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen)
            ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scale(int pixels) { return MulDiv(pixels, SystemDpi(), 96); }

Font::Font(const char *face, int pixels, int weight, bool underline) {
    LOGFONTA lf = {};
    lf.lfHeight = -Scale(pixels); // negative: the character height, not the cell
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    handle_ = CreateFontIndirectA(&lf);
}

Font::~Font() {
    if (handle_)
        DeleteObject(handle_);
}

Font &Font::operator=(Font &&other) noexcept {
    if (this != &other) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

HWND CreateChild(HWND parent, const char *className, const char *text, DWORD style,
                 DWORD exStyle, int left, int top, int width, int height, int id, HFONT font) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_CLIPSIBLINGS | style,
                                 Scale(left), Scale(top), Scale(width), Scale(height), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (child && font)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

HWND CreatePicture(HWND parent, int id, int left, int top, HICON icon) {
    HWND picture = CreateChild(parent, "STATIC", "", WS_VISIBLE | SS_ICON, 0, left, top, 0, 0, id,
                               nullptr);
    SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return picture;
}

HWND CreateLabel(HWND parent, int id, int left, int top, const char *text, HFONT font) {
    HWND label = CreateChild(parent, "STATIC", text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, left,
                             top, 0, 0, id, font);
    SIZE size = TextSize(font, text);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    return label;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

SIZE TextSize(HFONT font, const std::string &text) {
    SIZE size = {0, 0};
    HDC screen = GetDC(nullptr);
    if (!screen)
        return size;
    HGDIOBJ old = SelectObject(screen, font);
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

void SizeClientCentred(HWND window, int width, int height) {
    RECT frame = {0, 0, Scale(width), Scale(height)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    int outerWidth = frame.right - frame.left;
    int outerHeight = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace quillrun
