#include "Screenshot.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "win/Handles.h"

namespace {

using quillbox::win::GdiBitmap;
using quillbox::win::MemoryDc;
using quillbox::win::ScreenDc;
using quillbox::win::Selected;

// The screen's pixels in rect as 24-bit rows, bottom-up as BMP files store them.
bool CaptureScreen(const RECT &rect, BITMAPINFOHEADER &header, std::vector<uint8_t> &pixels) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(((width * 3) + 3) & ~3) * DWORD(height);
    pixels.assign(header.biSizeImage, 0);

    const ScreenDc screen;
    const MemoryDc memory(CreateCompatibleDC(screen.get()));
    const GdiBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory.get() || !bitmap.get())
        return false;
    {
        const Selected drawn(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY))
            return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader = header;
    return GetDIBits(memory.get(), bitmap.get(), 0, UINT(height), pixels.data(), &info,
                     DIB_RGB_COLORS) == height;
}

} // namespace

bool SaveWindowPicture(HWND window, const std::string &bmpPath) {
    RECT rect;
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    // A window's painting reaches the screen when its thread next looks at
    // its queue, which for a window of another process is not ours to
    // choose: the picture is taken again until two in a row agree.
    BITMAPINFOHEADER header;
    std::vector<uint8_t> pixels, again;
    if (!CaptureScreen(rect, header, pixels))
        return false;
    for (int look = 0; look < 50; ++look) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
        if (!CaptureScreen(rect, header, again))
            return false;
        if (again == pixels)
            break;
        pixels.swap(again);
    }

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE *out = std::fopen(bmpPath.c_str(), "wb");
    bool ok = out && std::fwrite(&file, sizeof file, 1, out) == 1 &&
              std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    if (out)
        ok = (std::fclose(out) == 0) && ok;
    return ok;
}
