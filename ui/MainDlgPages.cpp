#include <windows.h>

#include "DownloadProgress.h"
#include "LanguagePacks.h"
#include "MainDlg.h"

bool CMainDlg::IsAgreementTicked() {
    return m_chkAgree.GetSelectState() == 1;
}

void CMainDlg::ShowAgreementReminder() {
    m_lblAgree.ShowWindow(SW_SHOW);
}

void CMainDlg::ShowInstallingPage() {
    ResizeTo(kPageHeight);
    // The options strip goes too: below the page's new height it cannot be
    // seen, and the keyboard must not reach it there.
    for (int nId : {IDC_BTN_CLOSE, IDC_BTN_MIN, IDC_BTN_INSTALL, IDC_CHK_AGREE, IDC_BTN_LICENCE,
                    IDC_CHK_OPTIONS, IDC_LBL_AGREE, IDC_BTN_BROWSE, IDC_EDIT_PATH, IDC_LBL_PATH}) {
        ::ShowWindow(GetDlgItem(nId), SW_HIDE);
    }
    m_progress.ShowWindow(SW_SHOW);
    m_progress.SetRange32(0, 100);
    m_progress.SetPos(0);
    m_nShownPosition = 0;
    m_btnHide.ShowWindow(SW_SHOW);
    m_lblStatus.SetWindowText(ProgressText(0).c_str());
    m_lblStatus.ShowWindow(SW_SHOW);
    KeepFocusOnPage(m_btnHide);
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

void CMainDlg::ShowProgressPosition(int nPos) {
    m_progress.SetPos(nPos);
    m_lblStatus.SetWindowText(ProgressText(nPos).c_str());
}

void CMainDlg::ShowReconnecting() {
    m_lblStatus.SetWindowText(GetLanStr(L"STR_RECONNECTING").c_str());
}

void CMainDlg::ShowFinishedPage() {
    m_progress.ShowWindow(SW_HIDE);
    m_btnHide.ShowWindow(SW_HIDE);
    m_lblStatus.ShowWindow(SW_HIDE);
    InvalidateRect(nullptr, TRUE);
    m_btnStart.ShowWindow(SW_SHOW);
    m_btnClose.ShowWindow(SW_SHOW);
    m_btnMin.ShowWindow(SW_SHOW);
    if (!IsWindowVisible()) {
        RemoveTrayIcon();
        ShowWindow(SW_SHOW);
    }
    KeepFocusOnPage(m_btnStart);
}
