#include "Drawing.h"

void DrawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, int x, int y, int w, int h) {
    // Scaled (another DPI): filtered, and sampled at pixel centres so that
    // the edges do not take in half a pixel of nothing.
    if (pImage && (pImage->GetWidth() != static_cast<UINT>(w) ||
                   pImage->GetHeight() != static_cast<UINT>(h))) {
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    }
    // The wrapper passes a null native image on for a null pointer, which
    // GDI+ refuses without drawing.
    graphics.DrawImage(pImage, x, y, w, h);
}

void DrawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, const RECT& rc) {
    DrawImage(graphics, pImage, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

void FillRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, const RECT& rc) {
    FillRectangle(graphics, argb, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

void FrameRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, const RECT& rc, int nWidth) {
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    FillRectangle(graphics, argb, rc.left, rc.top, w, nWidth);
    FillRectangle(graphics, argb, rc.left, rc.bottom - nWidth, w, nWidth);
    FillRectangle(graphics, argb, rc.left, rc.top, nWidth, h);
    FillRectangle(graphics, argb, rc.right - nWidth, rc.top, nWidth, h);
}

void FillRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, int x, int y, int w, int h) {
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb)};
    graphics.FillRectangle(&brush, x, y, w, h);
}

void GdiFill(HDC hDC, const RECT& rect, COLORREF color) {
    HBRUSH hBrush = CreateSolidBrush(color);
    if (hBrush) {
        FillRect(hDC, &rect, hBrush);
        DeleteObject(hBrush);
    }
}
