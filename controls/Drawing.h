#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// The skin's few drawing primitives. Each paint call creates what it uses and
// deletes it before returning, in reverse order; nothing is cached. GDI+
// errors are swallowed: the call draws nothing and painting goes on.

// BeginPaint on construction, EndPaint on destruction.
class CPaintScope {
public:
    explicit CPaintScope(HWND hWnd) : m_hWnd(hWnd), m_hDC(BeginPaint(hWnd, &m_ps)) {}
    ~CPaintScope() { EndPaint(m_hWnd, &m_ps); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    HDC GetDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
    HDC m_hDC;
};

// The whole picture stretched into x, y, w, h (with high-quality filtering
// when that is not its own size); a null image draws nothing.
void DrawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, int x, int y, int w, int h);
void DrawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, const RECT& rc);
void FillRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, int x, int y, int w, int h);
void FillRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, const RECT& rc);
// A frame nWidth pixels wide just inside rc.
void FrameRectangle(Gdiplus::Graphics& graphics, Gdiplus::ARGB argb, const RECT& rc, int nWidth);
void GdiFill(HDC hDC, const RECT& rect, COLORREF color);
