#include "win32/Screenshot.h"

#include "win32/PngFile.h"

namespace tandrel {

Picture CaptureWindow(HWND window) {
    Picture picture;
    RECT place;
    if (!window || !GetWindowRect(window, &place)) return picture;
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return picture;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
        SelectObject(memory, old);
        const auto* bgrx = static_cast<const std::uint8_t*>(bits);
        picture.width = width;
        picture.height = height;
        picture.rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height); ++i) {
            picture.rgb.push_back(bgrx[4 * i + 2]);
            picture.rgb.push_back(bgrx[4 * i + 1]);
            picture.rgb.push_back(bgrx[4 * i]);
        }
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

bool SavePicture(const Picture& picture, const std::string& file, std::string& error) {
    return WritePng(file, picture.width, picture.height, picture.rgb, error);
}

}  // namespace tandrel
