#pragma once

#include <windows.h>

// The layout is drawn for 96 DPI; a window shows it at its own DPI. Every
// edge is scaled on its own (n x DPI / 96, rounded to the nearest pixel, as
// MulDiv rounds), so that edges that meet at 96 DPI still meet: a
// rectangle's width is the difference of its scaled edges.
class CDpiScale {
public:
    static const UINT kBaseDpi = 96;

    explicit CDpiScale(UINT nDpi = kBaseDpi) : m_nDpi(nDpi ? nDpi : kBaseDpi) {}

    UINT Dpi() const { return m_nDpi; }
    bool IsBase() const { return m_nDpi == kBaseDpi; }
    int operator()(int n) const { return MulDiv(n, static_cast<int>(m_nDpi), kBaseDpi); }
    // x, y, width and height at 96 DPI, as scaled edges.
    RECT Rect(int x, int y, int w, int h) const {
        return RECT{(*this)(x), (*this)(y), (*this)(x + w), (*this)(y + h)};
    }

private:
    UINT m_nDpi;
};

// The DPI a window is shown at: its monitor's where Windows says so (10,
// version 1607 on), else the screen's.
UINT WindowDpi(HWND hWnd);

// A user32 function of the DPI calls that older Windows lack, looked up in
// the loaded user32; null where it is not there.
template <typename Fn>
Fn NewerUser32Function(const char* pszName) {
    HMODULE hUser = GetModuleHandleW(L"user32.dll");
    return hUser ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(hUser, pszName)))
                 : nullptr;
}
