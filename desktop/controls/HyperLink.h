// THyperLink: a text that opens its target (HREF) through the shell when it
// is clicked, or when Enter is pressed while it has the keyboard focus. It
// is a window of its own, so it can hold the focus and sits in the tab
// order; it shows three looks: at rest, with the pointer over it or the
// focus on it, and pressed. Its pointer is the program's hand cursor.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/BaseWindow.h"
#include "Layout.h"

namespace quillrun {

class Outside;

// Font styles, combined with |.
enum FontStyle : unsigned {
    fsNone = 0,
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

class THyperLink : public quillbox::win::BaseWindow<THyperLink> {
public:
    static constexpr char ClassName[] = "THyperLink";
    // Colours are 0x00BBGGRR.
    static constexpr COLORREF Blue = 0xFF0000;
    static constexpr COLORREF Red = 0x0000FF;

    explicit THyperLink(Outside &outside);
    ~THyperLink();
    THyperLink(const THyperLink &) = delete;
    THyperLink &operator=(const THyperLink &) = delete;

    // Creates the control as a child of `parent` at (left, top) in 96-DPI
    // pixels, in the parent's font, underlined, then sized to its (empty)
    // text. `style` may add WS_BORDER.
    bool Create(HWND parent, int id, int left, int top, DWORD style = 0);

    // What the shell opens; nothing when empty.
    std::string HREF;
    // Where HREF shows while the pointer is over the link or it has the
    // focus: a status bar and its panel; none when null.
    HWND StatusBar = nullptr;
    int StatusPanelNo = 0;

    COLORREF NotPressedColor() const { return notPressedColor_; }
    COLORREF PressedColor() const { return pressedColor_; }
    COLORREF OverColor() const { return overColor_; }
    void SetNotPressedColor(COLORREF colour);
    void SetPressedColor(COLORREF colour) { pressedColor_ = colour; }
    void SetOverColor(COLORREF colour);

    // The text, as WM_SETTEXT sets it; the control is sized to it.
    void SetCaption(const std::string &text);
    // A new font: `face` at a character height of `pixels` (96 DPI), in the
    // Shift-JIS character set, with `style` and text colour `colour`.
    void SetFont(const char *face, int pixels, unsigned style, COLORREF colour);
    void SetAutoSize(bool on);
    bool AutoSize() const { return autoSize_; }

    // What the control shows now.
    COLORREF TextColor() const { return textColor_; }
    unsigned Style() const { return style_; }
    unsigned RestStyle() const { return restStyle_; }
    HFONT FontHandle() const { return font_.Handle(); }
    bool Pressed() const { return pressed_; }
    bool Over() const { return over_; }

    // Events.
    std::function<void(THyperLink &sender)> OnClick;
    std::function<void(THyperLink &sender)> OnEnter;
    std::function<void(THyperLink &sender)> OnExit;
    // A character typed while the link has the focus; the handler may
    // change it (to 0: no further handling).
    std::function<void(THyperLink &sender, char &key)> OnKeyPress;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The looks.
    void ShowRestLook();
    void ShowOverLook();
    void ShowPressedColor();
    void ShowNotPressedColor();
    void SetLook(COLORREF colour, unsigned style);
    // A font set from outside (SetFont, WM_SETFONT).
    void FontChanged(const LOGFONTA &font, COLORREF colour);
    void RebuildFont();
    void AdjustSize();

    void MouseDown(UINT message);
    void MouseMove(WPARAM buttons, POINT point);
    void MouseLeave();
    void MouseUp(bool leftButton, POINT point);
    void KeyPress(char key);
    void FocusEnter();
    void FocusExit();
    void Paint();

    bool Inside(POINT point) const;
    void ShowInStatusBar(const std::string &text);
    std::string StatusBarText() const;
    void ProcessMessages();

    Outside &outside_;
    COLORREF notPressedColor_ = Blue;
    COLORREF pressedColor_ = Red;
    COLORREF overColor_ = Blue;
    COLORREF textColor_ = Blue;
    LOGFONTA logFont_ = {};
    unsigned style_ = fsNone;
    unsigned restStyle_ = fsNone;
    Font font_;
    bool autoSize_ = true;
    bool pressed_ = false;
    bool over_ = false;
    bool heldInside_ = false;
    bool trackingLeave_ = false;
    std::string rememberedStatusText_;
};

} // namespace quillrun
