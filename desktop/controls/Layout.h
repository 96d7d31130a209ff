// Sizes given in pixels at 96 dots per inch, scaled to the system DPI, and
// the fonts the windows use.
#pragma once

#include <windows.h>

#include <string>

namespace quillrun {

// The system DPI (LOGPIXELSY of the screen), read once.
int SystemDpi();
// A length in 96-DPI pixels at the system DPI.
int Scale(int pixels);

// An owned GDI font, deleted with the object.
class Font {
public:
    Font() = default;
    // `face` at a character height of `pixels` (96 DPI), Shift-JIS character set.
    Font(const char *face, int pixels, int weight = FW_NORMAL, bool underline = false);
    // Exactly this font, its height in device pixels.
    explicit Font(const LOGFONTA &font) : handle_(CreateFontIndirectA(&font)) {}
    ~Font();
    Font(const Font &) = delete;
    Font &operator=(const Font &) = delete;
    Font(Font &&other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Font &operator=(Font &&other) noexcept;
    HFONT Handle() const { return handle_; }

private:
    HFONT handle_ = nullptr;
};

// Creates a child control at a 96-DPI rectangle, with the given font.
HWND CreateChild(HWND parent, const char *className, const char *text, DWORD style,
                 DWORD exStyle, int left, int top, int width, int height, int id, HFONT font);
// A picture control showing an icon at its own size, at a 96-DPI place.
HWND CreatePicture(HWND parent, int id, int left, int top, HICON icon);
// A text control sized to its content, at a 96-DPI place.
HWND CreateLabel(HWND parent, int id, int left, int top, const char *text, HFONT font);

// The window's text.
std::string WindowText(HWND window);
// The size the text takes in the font, in device pixels.
SIZE TextSize(HFONT font, const std::string &text);
// Places a top-level window so that its client area is `width` x `height`
// (96-DPI pixels), centred on the screen.
void SizeClientCentred(HWND window, int width, int height);

} // namespace quillrun
