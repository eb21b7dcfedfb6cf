#pragma once

#include <windows.h>
#include <commctrl.h>

// Typed views of the native controls the skin subclasses. Like CWindow,
// they never own the window.
template <class TBase>
class CButtonT : public TBase {
public:
    CButtonT(HWND hWnd = nullptr) : TBase(hWnd) {}
    static LPCWSTR GetWndClassName() { return L"BUTTON"; }
};

template <class TBase>
class CProgressBarCtrlT : public TBase {
public:
    CProgressBarCtrlT(HWND hWnd = nullptr) : TBase(hWnd) {}
    static LPCWSTR GetWndClassName() { return PROGRESS_CLASSW; }

    void SetRange32(int nLower, int nUpper) { this->SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    void GetRange(PBRANGE* pRange) const {
        this->SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(pRange));
    }
    int SetPos(int nPos) { return static_cast<int>(this->SendMessage(PBM_SETPOS, nPos, 0)); }
    int GetPos() const { return static_cast<int>(this->SendMessage(PBM_GETPOS, 0, 0)); }
};

template <class TBase>
class CEditT : public TBase {
public:
    CEditT(HWND hWnd = nullptr) : TBase(hWnd) {}
    static LPCWSTR GetWndClassName() { return L"EDIT"; }

    void SetSel(int nStart, int nEnd) { this->SendMessage(EM_SETSEL, nStart, nEnd); }
};
