#include "Drawing.h"

void DrawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, int x, int y, int w, int h) {
    // The wrapper passes a null native image on for a null pointer, which
    // GDI+ refuses without drawing.
    graphics.DrawImage(pImage, x, y, w, h);
}

void FillRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, int x, int y, int w, int h) {
    Gdiplus::SolidBrush brush{Gdiplus::Color(argb)};
    graphics.FillRectangle(&brush, x, y, w, h);
}

void OutlineRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, int x, int y, int w, int h) {
    Gdiplus::Pen pen(Gdiplus::Color(argb), 1.0f);
    graphics.DrawRectangle(&pen, x, y, w, h);
}

void GdiFill(HDC hDC, const RECT& rect, COLORREF color) {
    HBRUSH hBrush = CreateSolidBrush(color);
    if (hBrush) {
        FillRect(hDC, &rect, hBrush);
        DeleteObject(hBrush);
    }
}
