#pragma once

#include <windows.h>

#include <string>

#include "AccessibleControl.h"
#include "Controls.h"
#include "WindowImpl.h"

// The install-folder edit box: the native edit control without its context
// menu (right click and the menu key do nothing); typing, selection and the
// keyboard clipboard shortcuts are the native ones.
class CEditImpl : public CWindowImpl<CEditImpl, CEditT<CWindow>> {
public:
    BEGIN_MSG_MAP(CEditImpl)
        MSG_WM_CONTEXTMENU(OnContextMenu)
        MESSAGE_HANDLER(WM_GETOBJECT, OnGetObject)
    END_MSG_MAP()

    // The name a screen reader says: its label's text (the label is no
    // neighbour of the box in the window order, where readers look).
    void SetAccessibleName(const std::wstring& strName) { m_accFacts.strName = strName; }

private:
    void OnContextMenu(CWindow /*wnd*/, CPoint /*point*/) {}
    LRESULT OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
        const LRESULT lResult = AnswerAccessibleObject(m_hWnd, wParam, lParam, m_accFacts);
        bHandled = lResult != 0;
        return lResult;
    }

    AccessibleFacts m_accFacts;
};
