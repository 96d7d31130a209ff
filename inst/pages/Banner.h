// The banner strip at the top of every page: "banner.bmp" beside the
// program when there is one, otherwise a white box with a black frame over
// the whole banner area and the program's icon near its right end.
#pragma once

#include <windows.h>

#include <string>

#include "Handles.h"

namespace setup {

class Banner {
public:
    // The drawn banner as it stands on a page whose banner area is this
    // size, 499 x 68 pixels (the Japanese pages at 96 dots per inch), and
    // where its icon stands. On other pages and screens the box is drawn
    // to the area's size, the icon as far from the right end and the top,
    // both scaled with the screen's dots per inch.
    static constexpr int kWidth = 499;
    static constexpr int kHeight = 68;
    static constexpr int kIconX = 444;
    static constexpr int kIconY = 10;
    static constexpr int kIconSize = 32;

    // Loads "banner.bmp" (or, when there is none, the icon for the drawn
    // one) once; later calls keep it.
    void Prepare(const std::string &bannerFile, HINSTANCE resources);
    // The bitmap read from the file; null when the banner is drawn.
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // The file's bitmap at its own size, centred in area (a bitmap larger
    // than the area spills over its edges); or the drawn banner over area.
    void Paint(HDC dc, const RECT &area) const;

private:
    void Draw(HDC dc, const RECT &area) const;

    Scoped<HBITMAP, ::DeleteObject> bitmap_;
    Scoped<HICON, ::DestroyIcon> icon_;
    int dpi_ = 96;
    bool prepared_ = false;
};

} // namespace setup
