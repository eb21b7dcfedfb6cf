#pragma once

#include <windows.h>

// While it lives, records what the dialog procedure answered to
// WM_INITDIALOG on this thread (-1 until a dialog is made), as the hook on
// returning window procedures sees it.
class CInitDialogResult {
public:
    CInitDialogResult()
        : m_hHook(SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId())) {
        s_lResult = -1;
    }
    ~CInitDialogResult() { UnhookWindowsHookEx(m_hHook); }
    CInitDialogResult(const CInitDialogResult&) = delete;
    CInitDialogResult& operator=(const CInitDialogResult&) = delete;

    LRESULT Get() const { return s_lResult; }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        const CWPRETSTRUCT* pRet = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pRet->message == WM_INITDIALOG) {
            s_lResult = pRet->lResult;
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline LRESULT s_lResult = -1;
    HHOOK m_hHook;
};
