#include <windows.h>
#include <process.h>
#include <shellapi.h>
#include <shlobj.h>

#include <io.h>

#include <cwchar>

#include "DebugTrace.h"
#include "DesktopShell.h"
#include "DownloadGlobals.h"
#include "DownloadProgress.h"
#include "DownloadUrl.h"
#include "HttpTransfer.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "SegmentInfo.h"
#include "ShellFolder.h"
#include "WaitingCompletions.h"
#include "WinInetRequest.h"

std::wstring g_strHost;
std::wstring g_strObject;
std::wstring g_strPublicDocs;
CDownloadFolder g_downloadFolder;
CFileHandle g_hDownFile;
DWORD g_nDownBytes = 0;
int g_nFatalCount = 0;
bool g_bFallback = false;
DWORD g_nFileSize = 0;

void PostToDialog(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(g_pMainDlg->m_hWnd, uMsg, wParam, lParam);
}

bool StartWorker(unsigned(__stdcall* pfnThread)(void*), void* pParam, LPARAM nFailureCode) {
    uintptr_t hThread = _beginthreadex(nullptr, 0, pfnThread, pParam, 0, nullptr);
    if (hThread == 0) {
        PostToDialog(WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, nFailureCode);
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(hThread));
    return true;
}

bool PartialFileName(std::wstring& strName) {
    std::wstring strBase;
    if (!DownloadBaseName(GetLanStr(L"STR_DOWN_URL"), strBase)) {
        return false;
    }
    strName = strBase + L"down";
    return true;
}

std::wstring InstallerFileName() {
    return DownloadFileName(GetLanStr(L"STR_DOWN_URL"));
}

LRESULT CMainDlg::OnBtnInstall(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                               BOOL& /*bHandled*/) {
    std::wstring strTip = GetLanStr(L"STR_SOFT_TIP");
    std::wstring strAgree = GetLanStr(L"STR_AGREE_INSTALL");
    if (IsAgreementTicked()) {
        ReportStartInstall();
        StartInstall();
    } else {
        ShowMessageBox(m_hWnd, strAgree.c_str(), strTip.c_str(), MB_ICONINFORMATION);
        ShowAgreementReminder();
    }
    return 0;
}

void CMainDlg::StartInstall() {
    std::wstring strTip = GetLanStr(L"STR_SOFT_TIP");
    std::wstring strUrl = GetLanStr(L"STR_DOWN_URL");
    if (!SplitDownloadUrl(strUrl, g_strHost, g_strObject)) {
        ShowMessageBox(m_hWnd, GetLanStr(L"STR_URL_ERROR").c_str(), strTip.c_str(),
                       MB_ICONINFORMATION);
        return;
    }
    RaiseProcessConnectionLimits();  // before the first transfer
    m_nInstallState = kPageInstalling;
    m_bReconnectShown = false;  // the page starts at 0%
    SetTimer(kSlideTimerId, kSlideTimerMs);
    ShowInstallingPage();

    DoDataExchange(TRUE);
    if (_waccess(g_strInstallPath.c_str(), 0) != 0) {
        g_strInstallPath = SpecialFolderPath(CSIDL_PROGRAM_FILESX86);
    }
    g_strPublicDocs = SpecialFolderPath(CSIDL_COMMON_DOCUMENTS);
    m_dwSizeQuerySince = GetTickCount();
    m_dwLastByteTick = m_dwSizeQuerySince;
    SetTimer(kWatchTimerId, kWatchTimerMs);
    StartWorker(GetFileSizeThread, nullptr, DOWN_ERR_FILESIZE);
}

void CMainDlg::RestartInstall() {
    g_bFallback = true;
    m_bReconnecting = true;  // the other transport asks for the size again
    g_hDownFile.Close();
    m_nRetryCount = 0;
    m_nCurrentWriteId = 0;
    m_nCompleteCount = 0;
    KillTimer(kRelaunchTimerId);
    m_pacer.Reset();
    StartInstall();
}

void CMainDlg::StartSegmentTransfer(int nId) {
    ++m_nRunningTransfers;
    StartWorker(DownloadSegmentThread, &m_pSegments[nId], nId);
}

void CMainDlg::RelaunchParkedSegments() {
    std::vector<int> vecParked;
    vecParked.swap(m_vecFailed);
    for (int nId : vecParked) {
        StartSegmentTransfer(nId);
    }
}

void CMainDlg::QueueRelaunch(int nCode) {
    m_bReconnecting = true;
    if (m_pacer.Queue(nCode)) {
        SetTimer(kRelaunchTimerId, m_pacer.NextPauseMs());
    }
}

void CMainDlg::OnRelaunchTimer() {
    KillTimer(kRelaunchTimerId);
    int nCode = 0;
    if (!m_pacer.Take(nCode)) {
        return;
    }
    if (nCode == DOWN_ERR_FILESIZE) {
        StartWorker(GetFileSizeThread, nullptr, DOWN_ERR_FILESIZE);
    } else if (m_pSegments) {
        StartSegmentTransfer(nCode);  // resumes after the bytes it has
    }
    if (!m_pacer.Empty()) {
        SetTimer(kRelaunchTimerId, m_pacer.NextPauseMs());
    }
}

void CMainDlg::OnWatchTimer() {
    if (m_bFailing || m_nInstallState != kPageInstalling) {
        return;
    }
    const DWORD dwSilentMs = GetTickCount() - m_dwLastByteTick;
    const bool bRangesUnderWay = m_pSegments && m_nCompleteCount < SEGMENT_COUNT;
    if (bRangesUnderWay && dwSilentMs >= m_nSilenceLimitMs) {
        KORVIX_TRACE(L"no byte for the silence limit: network failure\n\r");
        OnNetworkFailure();
        return;
    }
    if (m_bReconnecting && !m_bReconnectShown && dwSilentMs >= RECONNECT_TEXT_AFTER_MS) {
        m_bReconnectShown = true;
        ShowReconnecting();
    }
}

LRESULT CMainDlg::OnDownErrorMsg(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/) {
    const int nCode = static_cast<int>(lParam);
    // The worker's own error, for the diagnosis: the decisions below do not
    // depend on it.
    wchar_t szTrace[80];
    swprintf(szTrace, 80, L"failure report %d, error %lu\n\r", nCode,
             static_cast<unsigned long>(wParam));
    KORVIX_TRACE(szTrace);
    const bool bSegment = nCode >= 0 && nCode < SEGMENT_COUNT && m_pSegments != nullptr;
    if (bSegment) {
        --m_nRunningTransfers;
    }
    if (m_bFailing) {
        return 0;  // the outcome is on its way; nothing changes it
    }
    if (lParam == DOWN_ERR_UNTRUSTED) {
        OnNetworkFailure();  // the browser fetches it, with its own checks
        return 0;
    }
    if (g_nFatalCount > 0 || lParam == DOWN_ERR_URL || lParam == DOWN_ERR_SYSTEM) {
        // Before an installation (a picture of the dialog that would not
        // load) it is only counted, and no failure is relaunched from then
        // on; during one, the installation cannot go on.
        if (m_nInstallState == kPageInstalling) {
            OnLocalFailure();
        } else {
            ++g_nFatalCount;
        }
        return 0;
    }
    const bool bSizeQueryTimeLeft = GetTickCount() - m_dwSizeQuerySince < SIZE_QUERY_LIMIT_MS;
    if (m_nRetryCount <= MAX_RETRY && (lParam != DOWN_ERR_FILESIZE || bSizeQueryTimeLeft)) {
        if (lParam == DOWN_ERR_FILESIZE || bSegment) {
            QueueRelaunch(nCode);
            ++m_nRetryCount;
        }
        return 0;
    }
    if (lParam == DOWN_ERR_FILESIZE) {
        if (!g_bFallback) {
            RestartInstall();
        } else {
            OnNetworkFailure();
        }
        return 0;
    }
    if (!bSegment) {
        return 0;
    }
    m_vecFailed.push_back(nCode);
    if (static_cast<int>(m_vecFailed.size()) + m_nCompleteCount == SEGMENT_COUNT) {
        OnNetworkFailure();
    }
    return 0;
}

void CMainDlg::BeginFailureOutcome() {
    ++g_nFatalCount;
    m_bFailing = true;
    KillTimer(kRelaunchTimerId);
    KillTimer(kWatchTimerId);
    m_pacer.Reset();
    ShowAgain();  // the box needs an owner the user can see
    DiscardDownload();
}

void CMainDlg::OnNetworkFailure() {
    BeginFailureOutcome();
    int nAnswer = ShowMessageBox(m_hWnd, GetLanStr(L"STR_NETWORK_ERROR").c_str(),
                                 GetLanStr(L"STR_ERROR").c_str(), MB_OKCANCEL);
    if (nAnswer == IDOK) {
        // The user can fetch the full package by hand, in a browser that
        // runs as the desktop user.
        OpenAsDesktopUser(GetLanStr(L"STR_DOWN_URL"), std::wstring());
    }
    CloseDialog(kExitCodeNormal);
}

void CMainDlg::OnLocalFailure() {
    BeginFailureOutcome();
    ShowMessageBox(m_hWnd, GetLanStr(L"STR_NOTICE_PROCESS2").c_str(),
                   GetLanStr(L"STR_SYSTEM_ERROR").c_str(), MB_ICONERROR);
    CloseDialog(kExitCodeNormal);
}

LRESULT CMainDlg::OnDownProgressMsg(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam,
                                    BOOL& /*bHandled*/) {
    int nPos = 0;
    if (wParam == 0) {
        g_nDownBytes += static_cast<DWORD>(lParam);
        nPos = DownloadPosition(g_nDownBytes, m_nFileSize);
        m_dwLastByteTick = GetTickCount();
        m_bReconnecting = false;
        if (m_bReconnectShown) {
            m_bReconnectShown = false;
            m_nShownPosition = -1;  // the percentage comes back
        }
    } else {
        nPos = static_cast<int>(wParam);
    }
    // A byte report moves the bar by a fraction of a percent at most: the bar
    // and the text are redrawn only when the shown position changes.
    if (nPos != m_nShownPosition) {
        m_nShownPosition = nPos;
        ShowProgressPosition(nPos);
    }
    m_nRetryCount = 0;
    m_pacer.OnProgress();
    if (m_pSegments && !m_bFailing) {
        RelaunchParkedSegments();
        if (wParam == 0 && ++m_nByteReports % COMPLETION_CHECK_EVERY == 0) {
            DispatchWaitingCompletions(m_hWnd);
        }
    }
    return 0;
}
