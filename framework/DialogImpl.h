#pragma once

#include <windows.h>

#include "AppModule.h"
#include "MessageMap.h"
#include "Window.h"

// The object of the dialog being created on this thread, until its first
// message binds it to its window.
extern thread_local void* g_pCreatingDialog;

// A modeless dialog from the template T::IDD whose messages go through T's
// message map. The object must outlive its window.
template <class T, class TBase = CWindow>
class CDialogImpl : public TBase, public CMessageMap {
public:
    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;
    ~CDialogImpl() override {
        if (this->m_hWnd && ::IsWindow(this->m_hWnd)) {
            ::RemovePropW(this->m_hWnd, kDialogImplProperty);
        }
    }

    HWND Create(HWND hWndParent, LPARAM dwInitParam = 0) {
        g_pCreatingDialog = static_cast<CDialogImpl*>(this);
        HWND hWnd = ::CreateDialogParamW(_Module.GetResourceInstance(), MAKEINTRESOURCEW(T::IDD),
                                         hWndParent, StartDialogProc, dwInitParam);
        g_pCreatingDialog = nullptr;
        return hWnd;
    }

    virtual DLGPROC GetDialogProc() { return DialogProc; }
    // Called after the last message of the window (WM_NCDESTROY).
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

    static constexpr const wchar_t* kDialogImplProperty = L"Korvix.DialogImpl";

private:
    static INT_PTR CALLBACK StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        CDialogImpl* pThis = static_cast<CDialogImpl*>(g_pCreatingDialog);
        if (!pThis) {
            return FALSE;
        }
        g_pCreatingDialog = nullptr;
        pThis->m_hWnd = hWnd;
        ::SetPropW(hWnd, kDialogImplProperty, pThis);
        ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pThis->GetDialogProc()));
        return pThis->GetDialogProc()(hWnd, uMsg, wParam, lParam);
    }

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        CDialogImpl* pThis = static_cast<CDialogImpl*>(::GetPropW(hWnd, kDialogImplProperty));
        if (!pThis) {
            return FALSE;
        }
        BOOL bOuterHandled = pThis->m_bMsgHandled;
        LRESULT lResult = 0;
        BOOL bHandled = pThis->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
        pThis->m_bMsgHandled = bOuterHandled;
        if (uMsg == WM_NCDESTROY) {
            ::RemovePropW(hWnd, kDialogImplProperty);
            pThis->m_hWnd = nullptr;
            pThis->OnFinalMessage(hWnd);
            return bHandled;
        }
        if (!bHandled) {
            return FALSE;
        }
        switch (uMsg) {
            // These return their result directly, not through DWLP_MSGRESULT.
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_INITDIALOG:
            case WM_QUERYDRAGICON:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
                return static_cast<INT_PTR>(lResult);
            default:
                ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
                return TRUE;
        }
    }
};
