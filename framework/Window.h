#pragma once

#include <windows.h>

#include <string>

// A view of a window handle: it never owns the window and never destroys it
// on its own; copies are cheap and share the handle.
class CWindow {
public:
    HWND m_hWnd;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd) {
        m_hWnd = hWnd;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() {
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        return hWnd;
    }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
    }

    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL GetClientRect(LPRECT pRect) const { return ::GetClientRect(m_hWnd, pRect); }
    BOOL GetWindowRect(LPRECT pRect) const { return ::GetWindowRect(m_hWnd, pRect); }
    BOOL ScreenToClient(LPPOINT pPoint) const { return ::ScreenToClient(m_hWnd, pPoint); }
    BOOL ClientToScreen(LPPOINT pPoint) const { return ::ClientToScreen(m_hWnd, pPoint); }
    void ClientToScreen(LPRECT pRect) const {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(pRect), 2);
    }

    // A view without a window (never made, or destroyed) invalidates nothing:
    // the API takes a null handle for "every window".
    BOOL Invalidate(BOOL bErase = TRUE) { return InvalidateRect(nullptr, bErase); }
    BOOL InvalidateRect(const RECT* pRect, BOOL bErase = TRUE) {
        return m_hWnd ? ::InvalidateRect(m_hWnd, pRect, bErase) : FALSE;
    }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw = FALSE) {
        return ::SetWindowRgn(m_hWnd, hRgn, bRedraw);
    }

    BOOL SetWindowText(LPCWSTR pszText) { return ::SetWindowTextW(m_hWnd, pszText); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    std::wstring GetWindowText() const {
        std::wstring strText(static_cast<size_t>(GetWindowTextLength()) + 1, L'\0');
        int n = ::GetWindowTextW(m_hWnd, &strText[0], static_cast<int>(strText.size()));
        strText.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return strText;
    }

    UINT_PTR SetTimer(UINT_PTR nIdEvent, UINT nElapse) {
        return ::SetTimer(m_hWnd, nIdEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIdEvent) { return ::KillTimer(m_hWnd, nIdEvent); }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd) {
        DWORD dwStyle = GetStyle();
        DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
        if (dwStyle == dwNew) {
            return FALSE;
        }
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNew));
        return TRUE;
    }
    BOOL DestroyWindow() {
        if (!::DestroyWindow(m_hWnd)) {
            return FALSE;
        }
        m_hWnd = nullptr;
        return TRUE;
    }
};
