#include <windows.h>

#include "Analytics.h"
#include "DesktopShell.h"
#include "DownloadProgress.h"
#include "LanguagePacks.h"
#include "MainDlg.h"

namespace {

// The status line at nPos percent, in the user's language.
std::wstring ProgressText(int nPos) {
    return FormatProgressText(GetLanStr(L"STR_INSTALLING_WAIT"), nPos, GetLanStr(L"STR_FINISH"));
}

}  // namespace

bool CMainDlg::IsAgreementTicked() {
    return m_chkAgree.GetSelectState() == 1;
}

void CMainDlg::ShowAgreementReminder() {
    m_lblAgree.ShowWindow(SW_SHOW);
}

void CMainDlg::ShowInstalling() {
    m_nInstallState = kPageInstalling;
    SetTimer(kSlideTimerId, kSlideTimerMs);
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
    m_btnHide.ShowWindow(SW_SHOW);
    m_lblStatus.SetWindowText(ProgressText(0).c_str());
    m_lblStatus.ShowWindow(SW_SHOW);
    KeepFocusOnPage(m_btnHide);
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

void CMainDlg::ShowProgress(int nPos) {
    m_progress.SetPos(nPos);
    m_lblStatus.SetWindowText(ProgressText(nPos).c_str());
}

void CMainDlg::ShowReconnecting() {
    m_lblStatus.SetWindowText(GetLanStr(L"STR_RECONNECTING").c_str());
}

void CMainDlg::ShowFinished() {
    ReportInstalled(GetLanStr(L"STR_PROJECT_NAME"));
    m_nInstallState = kPageFinished;
    KillTimer(kSlideTimerId);
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

void CMainDlg::ShowNetworkFailure() {
    ShowAgain();  // the box needs an owner the user can see
    int nAnswer = ShowMessageBox(m_hWnd, GetLanStr(L"STR_NETWORK_ERROR").c_str(),
                                 GetLanStr(L"STR_ERROR").c_str(), MB_OKCANCEL);
    if (nAnswer == IDOK) {
        // The user can fetch the full package by hand, in a browser that
        // runs as the desktop user.
        OpenInBrowser(GetLanStr(L"STR_DOWN_URL"));
    }
    CloseDialog(kExitCodeNormal);
}

void CMainDlg::ShowLocalFailure() {
    ShowAgain();
    ShowMessageBox(m_hWnd, GetLanStr(L"STR_NOTICE_PROCESS2").c_str(),
                   GetLanStr(L"STR_SYSTEM_ERROR").c_str(), MB_ICONERROR);
    CloseDialog(kExitCodeNormal);
}
