#pragma once

#include <windows.h>

#include "MessageMap.h"
#include "Window.h"

// The object of a subclassed window is found through this window property.
extern const wchar_t kWindowImplProperty[];

// Subclasses an existing window (a template control) so that the messages
// of that window go through T's message map first and then to the window's
// previous procedure. The object must outlive the subclassing; it undoes
// it when the window is destroyed or when the object goes first.
template <class T, class TBase = CWindow>
class CWindowImpl : public TBase, public CMessageMap {
public:
    CWindowImpl() = default;
    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;
    ~CWindowImpl() override {
        if (this->m_hWnd) {
            UnsubclassWindow();
        }
    }

    BOOL SubclassWindow(HWND hWnd) {
        if (this->m_hWnd || !::IsWindow(hWnd) || ::GetPropW(hWnd, kWindowImplProperty)) {
            return FALSE;
        }
        if (!::SetPropW(hWnd, kWindowImplProperty, static_cast<CWindowImpl*>(this))) {
            return FALSE;
        }
        this->m_hWnd = hWnd;
        m_pfnSuperWindowProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
        return TRUE;
    }

    HWND UnsubclassWindow() {
        HWND hWnd = this->m_hWnd;
        if (!hWnd) {
            return nullptr;
        }
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &WindowProc) {
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc));
        }
        ::RemovePropW(hWnd, kWindowImplProperty);
        m_pfnSuperWindowProc = ::DefWindowProcW;
        this->m_hWnd = nullptr;
        return hWnd;
    }

    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
        return ::CallWindowProcW(m_pfnSuperWindowProc, this->m_hWnd, uMsg, wParam, lParam);
    }

    // Called after the last message of the window (WM_NCDESTROY).
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

protected:
    WNDPROC m_pfnSuperWindowProc = ::DefWindowProcW;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        CWindowImpl* pThis = static_cast<CWindowImpl*>(::GetPropW(hWnd, kWindowImplProperty));
        if (!pThis) {
            return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        // Handlers may send messages to their own window: keep the flag of
        // the outer message.
        BOOL bOuterHandled = pThis->m_bMsgHandled;
        LRESULT lResult = 0;
        BOOL bHandled = pThis->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
        pThis->m_bMsgHandled = bOuterHandled;
        if (!bHandled) {
            lResult = pThis->DefWindowProc(uMsg, wParam, lParam);
        }
        if (uMsg == WM_NCDESTROY) {
            pThis->UnsubclassWindow();
            pThis->OnFinalMessage(hWnd);
        }
        return lResult;
    }
};

// Owner-draw dispatch for a control that paints through reflected draw
// requests: chain it with CHAIN_MSG_MAP_ALT(COwnerDraw<T>, 1).
template <class T>
class COwnerDraw {
public:
    BOOL ProcessWindowMessage(HWND /*hWnd*/, UINT uMsg, WPARAM /*wParam*/, LPARAM lParam,
                              LRESULT& lResult, DWORD dwMsgMapId) {
        if (dwMsgMapId != 1 && dwMsgMapId != 0) {
            return FALSE;
        }
        T* pT = static_cast<T*>(this);
        switch (uMsg) {
            case OCM_DRAWITEM:
                pT->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
                lResult = TRUE;
                return TRUE;
            case OCM_MEASUREITEM:
                pT->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
                lResult = TRUE;
                return TRUE;
            case OCM_COMPAREITEM:
                lResult = pT->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
                return TRUE;
            case OCM_DELETEITEM:
                pT->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
                lResult = TRUE;
                return TRUE;
            default:
                return FALSE;
        }
    }

    // Defaults: nothing to measure, compare or delete.
    void DrawItem(LPDRAWITEMSTRUCT /*pDis*/) {}
    void MeasureItem(LPMEASUREITEMSTRUCT /*pMis*/) {}
    int CompareItem(LPCOMPAREITEMSTRUCT /*pCis*/) { return 0; }
    void DeleteItem(LPDELETEITEMSTRUCT /*pDis*/) {}
};
