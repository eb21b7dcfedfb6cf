#include "MainDlg.h"

// The install and start buttons drive the download engine and the installed
// product, which arrive with the installation road; until then a press on
// either changes nothing.
LRESULT CMainDlg::OnBtnInstall(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                               BOOL& /*bHandled*/) {
    return 0;
}

LRESULT CMainDlg::OnBtnStart(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                             BOOL& /*bHandled*/) {
    return 0;
}
