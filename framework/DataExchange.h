#pragma once

#include <windows.h>

#include <string>

// Dialog data exchange: T lists its controls between BEGIN_DDX_MAP and
// END_DDX_MAP. bSaveAndValidate FALSE moves data into the controls, TRUE
// reads it back; nCtlId (UINT)-1 means every control.
template <class T>
class CWinDataExchange {
public:
    // Text between an edit control and a string. FALSE when fewer characters
    // arrive than the control announced.
    BOOL DDX_Text(UINT nId, std::wstring& strText, BOOL bSaveAndValidate) {
        HWND hCtl = ::GetDlgItem(static_cast<T*>(this)->m_hWnd, static_cast<int>(nId));
        if (!bSaveAndValidate) {
            return ::SetWindowTextW(hCtl, strText.c_str());
        }
        int nLength = ::GetWindowTextLengthW(hCtl);
        std::wstring strRead(static_cast<size_t>(nLength) + 1, L'\0');
        int nRead = ::GetWindowTextW(hCtl, &strRead[0], nLength + 1);
        if (nRead < nLength) {
            return FALSE;
        }
        strRead.resize(static_cast<size_t>(nRead));
        strText = strRead;
        return TRUE;
    }

    // The default reaction to a failed exchange: a beep and the focus on it.
    void OnDataExchangeError(UINT nCtlId, BOOL /*bSave*/) {
        ::MessageBeep(static_cast<UINT>(-1));
        ::SetFocus(::GetDlgItem(static_cast<T*>(this)->m_hWnd, static_cast<int>(nCtlId)));
    }
};

#define BEGIN_DDX_MAP(thisClass)                                                 \
    BOOL DoDataExchange(BOOL bSaveAndValidate = FALSE, UINT nCtlId = (UINT)-1) { \
        (void)bSaveAndValidate;                                                  \
        (void)nCtlId;

// Subclasses the control with the member when loading and not yet attached.
#define DDX_CONTROL(nId, obj)                                                        \
    if ((nCtlId == (UINT)-1 || nCtlId == (nId)) && !bSaveAndValidate && !obj.m_hWnd) \
        obj.SubclassWindow(this->GetDlgItem(nId));

#define DDX_TEXT(nId, var)                              \
    if (nCtlId == (UINT)-1 || nCtlId == (nId)) {        \
        if (!DDX_Text(nId, var, bSaveAndValidate)) {    \
            OnDataExchangeError(nId, bSaveAndValidate); \
            return FALSE;                               \
        }                                               \
    }

#define END_DDX_MAP() \
    return TRUE;      \
    }
