// The banner strip at the top of every page: "banner.bmp" beside the
// program when there is one, otherwise a white box with a black frame and
// the program's icon near its right end.
#pragma once

#include <windows.h>

#include <string>

#include "Handles.h"

namespace setup {

class Banner {
public:
    // The size of the drawn banner and where its icon stands.
    static constexpr int kWidth = 499;
    static constexpr int kHeight = 68;
    static constexpr int kIconX = 444;
    static constexpr int kIconY = 10;

    // Loads or draws the bitmap once; later calls keep it.
    void Prepare(const std::string &bannerFile, HINSTANCE resources);
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Copies the bitmap at its own size, centred in area; a bitmap larger
    // than the area spills over its edges.
    void Paint(HDC dc, const RECT &area) const;

private:
    Scoped<HBITMAP, ::DeleteObject> bitmap_;
};

} // namespace setup
