#include "Banner.h"

#include "Folders.h"
#include "PageIds.h"

namespace setup {

namespace {

using MemoryDc = Scoped<HDC, ::DeleteDC>;

// A device context of the screen, released when it goes.
class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_)
            ::ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc &) = delete;
    ScreenDc &operator=(const ScreenDc &) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A bitmap selected into a device context while the object lives.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~Selected() { ::SelectObject(dc_, old_); }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

HBITMAP DrawnBanner(HINSTANCE resources) {
    const ScreenDc screen;
    Scoped<HBITMAP, ::DeleteObject> bitmap(
        ::CreateCompatibleBitmap(screen.get(), Banner::kWidth, Banner::kHeight));
    const MemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap.get() || !memory.get())
        return nullptr;
    {
        const Selected selected(memory.get(), bitmap.get());
        // A new device context holds the default pen and brush: a black
        // frame around white.
        ::Rectangle(memory.get(), 0, 0, Banner::kWidth, Banner::kHeight);
        if (const HICON icon = ::LoadIconA(resources, MAKEINTRESOURCEA(IDI_SETUP)))
            ::DrawIcon(memory.get(), Banner::kIconX, Banner::kIconY, icon);
    }
    return bitmap.release();
}

} // namespace

void Banner::Prepare(const std::string &bannerFile, HINSTANCE resources) {
    if (bitmap_.get())
        return;
    if (IsExistingFile(bannerFile))
        *bitmap_.out() = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, bannerFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    // A file that is no bitmap counts as missing.
    if (!bitmap_.get())
        *bitmap_.out() = DrawnBanner(resources);
}

void Banner::Paint(HDC dc, const RECT &area) const {
    BITMAP info;
    if (!bitmap_.get() || !::GetObjectA(bitmap_.get(), sizeof info, &info))
        return;
    const MemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory.get())
        return;
    const Selected selected(memory.get(), bitmap_.get());
    const int left = area.left + (area.right - area.left - info.bmWidth) / 2;
    const int top = area.top + (area.bottom - area.top - info.bmHeight) / 2;
    ::BitBlt(dc, left, top, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

} // namespace setup
