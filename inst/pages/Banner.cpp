#include "Banner.h"

#include "Folders.h"
#include "PageIds.h"

namespace setup {

namespace {

int Scaled(int pixels, int dpi) { return ::MulDiv(pixels, dpi, 96); }

} // namespace

void Banner::Prepare(const std::string &bannerFile, HINSTANCE resources) {
    if (prepared_)
        return;
    prepared_ = true;
    if (IsExistingFile(bannerFile))
        *bitmap_.out() = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, bannerFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    // A file that is no bitmap counts as missing.
    if (bitmap_.get())
        return;
    const ScreenDc screen;
    if (screen.get())
        dpi_ = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    // The icon's image nearest the size the screen wants, scaled to it.
    const int size = Scaled(kIconSize, dpi_);
    *icon_.out() = static_cast<HICON>(
        ::LoadImageA(resources, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, size, size, 0));
}

void Banner::Paint(HDC dc, const RECT &area) const {
    BITMAP info;
    if (!bitmap_.get() || !::GetObjectA(bitmap_.get(), sizeof info, &info)) {
        if (prepared_)
            Draw(dc, area);
        return;
    }
    const MemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory.get())
        return;
    const Selected selected(memory.get(), bitmap_.get());
    const int left = area.left + (area.right - area.left - info.bmWidth) / 2;
    const int top = area.top + (area.bottom - area.top - info.bmHeight) / 2;
    ::BitBlt(dc, left, top, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void Banner::Draw(HDC dc, const RECT &area) const {
    {
        // A black frame around white, over the whole area: the page's own
        // background never shows beside it, whatever width the page's font
        // gives the area.
        const Selected pen(dc, ::GetStockObject(BLACK_PEN));
        const Selected brush(dc, ::GetStockObject(WHITE_BRUSH));
        ::Rectangle(dc, area.left, area.top, area.right, area.bottom);
    }
    if (!icon_.get())
        return;
    const int size = Scaled(kIconSize, dpi_);
    ::DrawIconEx(dc, area.right - Scaled(kWidth - kIconX, dpi_), area.top + Scaled(kIconY, dpi_),
                 icon_.get(), size, size, 0, nullptr, DI_NORMAL);
}

} // namespace setup
