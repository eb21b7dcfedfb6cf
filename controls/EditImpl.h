#pragma once

#include <windows.h>

#include "Controls.h"
#include "WindowImpl.h"

// The install-folder edit box: the native edit control without its context
// menu (right click and the menu key do nothing); typing, selection and the
// keyboard clipboard shortcuts are the native ones.
class CEditImpl : public CWindowImpl<CEditImpl, CEditT<CWindow>> {
public:
    BEGIN_MSG_MAP(CEditImpl)
        MSG_WM_CONTEXTMENU(OnContextMenu)
    END_MSG_MAP()

private:
    void OnContextMenu(CWindow /*wnd*/, CPoint /*point*/) {}
};
