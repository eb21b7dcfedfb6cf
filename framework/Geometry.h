#pragma once

#include <windows.h>

// Thin value types over POINT and RECT, as the cracked handlers take them.
class CPoint : public POINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int nX, int nY) {
        x = nX;
        y = nY;
    }
    explicit CPoint(LPARAM lParam) {
        // Signed: positions left of or above the window are negative.
        x = static_cast<short>(LOWORD(lParam));
        y = static_cast<short>(HIWORD(lParam));
    }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
