#include "MainDlg.h"

// Starting the installed product arrives with the finished page's own work;
// until then a press changes nothing.
LRESULT CMainDlg::OnBtnStart(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                             BOOL& /*bHandled*/) {
    return 0;
}
