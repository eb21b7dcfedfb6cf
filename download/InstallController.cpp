#include "InstallController.h"

#include <algorithm>
#include <cwchar>
#include <memory>

#include "DebugTrace.h"
#include "DownloadProgress.h"
#include "DownloadUrl.h"
#include "WinInetRequest.h"
#include "WorkerReports.h"

CInstallController::~CInstallController() {
    (void)m_pSegments.release();
    if (m_bWriteRunning) {
        (void)m_hDownFile.Detach();
    }
}

bool CInstallController::StartInstall(const InstallRequest& request) {
    std::wstring strHost;
    std::wstring strObject;
    if (!SplitDownloadUrl(request.strUrl, strHost, strObject)) {
        return false;
    }
    m_request = request;
    m_strHost = strHost;
    m_strObject = strObject;
    ReadProxySettings();             // once, before the first request
    RaiseProcessConnectionLimits();  // before the first transfer
    Begin();
    return true;
}

void CInstallController::Begin() {
    m_bInstalling = true;
    m_bReconnectShown = false;  // the page starts at 0%
    m_nShownPosition = 0;
    m_view.ShowInstalling();
    m_dwLastByteTick = m_pfnTicks();
    m_view.ArmTimer(kWatchTimerId, kWatchTimerMs);
    if (m_bFallback && m_proxyPlan.bLookUp && m_eProxyLookup == ProxyLookup::kNotYet) {
        StartProxyLookup();  // the size query follows its answer
    } else {
        BeginSizeQueries();
    }
}

void CInstallController::BeginSizeQueries() {
    m_dwSizeQuerySince = m_pfnTicks();
    StartSizeQuery();
}

void CInstallController::ReadProxySettings() {
    if (!m_pfnReadProxyConfig(m_proxyConfig)) {
        KORVIX_TRACE(L"the user's proxy settings could not be read\n\r");
    }
    m_proxyPlan = PlanProxy(m_proxyConfig);
    m_fallbackProxy = m_proxyPlan.fallback;
    const std::wstring strTrace =
        L"proxy settings: " + DescribeProxyConfig(m_proxyConfig) + L"; WinINet " +
        (m_proxyPlan.bWinInetPreconfig ? L"follows them" : L"without auto-proxy") + L"; fallback " +
        (m_proxyPlan.bLookUp ? L"looks up, else " : L"") +
        DescribeWinHttpProxy(m_proxyPlan.fallback) + L"\n\r";
    KORVIX_TRACE(strTrace.c_str());
}

void CInstallController::StartProxyLookup() {
    m_eProxyLookup = ProxyLookup::kUnderWay;
    ProxyLookupJob job;
    job.hReportTo = m_hReportWnd;
    job.strUrl = L"http://" + m_strHost + L"/" + m_strObject;
    job.bAutoDetect = m_proxyConfig.bAutoDetect;
    job.strScriptUrl = m_proxyConfig.strScriptUrl;
    job.nLimitMs = PROXY_LOOKUP_LIMIT_MS;
    m_view.ArmTimer(kProxyTimerId, PROXY_LOOKUP_LIMIT_MS);
    if (!m_workers.StartProxyLookup(job)) {
        OnProxyFoundMsg(nullptr, ERROR_NOT_ENOUGH_MEMORY);
    }
}

void CInstallController::OnProxyFoundMsg(WinHttpProxy* pFound, DWORD dwError) {
    const std::unique_ptr<WinHttpProxy> found(pFound);
    if (m_eProxyLookup != ProxyLookup::kUnderWay) {
        return;  // past its bound: the fallback went on without it
    }
    if (found) {
        m_fallbackProxy = *found;
    } else {
        wchar_t szTrace[80];
        swprintf(szTrace, 80, L"proxy look-up failed, error %lu\n\r",
                 static_cast<unsigned long>(dwError));
        KORVIX_TRACE(szTrace);
    }
    EndProxyLookup();
}

void CInstallController::EndProxyLookup() {
    m_eProxyLookup = ProxyLookup::kDone;
    m_view.DisarmTimer(kProxyTimerId);
    const std::wstring strTrace =
        L"fallback through " + DescribeWinHttpProxy(m_fallbackProxy) + L"\n\r";
    KORVIX_TRACE(strTrace.c_str());
    if (!m_bFailing) {
        BeginSizeQueries();
    }
}

void CInstallController::RestartInstall() {
    m_bFallback = true;
    m_bReconnecting = true;  // the other transport asks for the size again
    m_nRetryCount = 0;
    m_nCurrentWriteId = 0;
    m_nCompleteCount = 0;
    m_view.DisarmTimer(kRelaunchTimerId);
    m_pacer.Reset();
    Begin();
}

TransferJob CInstallController::NewTransferJob() const {
    TransferJob job;
    job.hReportTo = m_hReportWnd;
    job.strHost = m_strHost;
    job.strObject = m_strObject;
    job.bFallback = m_bFallback;
    job.bWinInetPreconfig = m_proxyPlan.bWinInetPreconfig;
    job.fallbackProxy = m_fallbackProxy;
    job.nFileSize = m_nFileSize;
    return job;
}

// A worker that cannot be started fails as its report would have said.
void CInstallController::StartSizeQuery() {
    if (m_bFailing) {
        return;
    }
    TransferJob job = NewTransferJob();
    job.nFileSize = 0;
    if (!m_workers.StartSizeQuery(job)) {
        OnDownErrorMsg(DOWN_ERR_FILESIZE, ERROR_NOT_ENOUGH_MEMORY);
    }
}

void CInstallController::StartSegmentTransfer(int nId) {
    if (m_bFailing) {
        return;
    }
    ++m_nRunningTransfers;
    SegmentJob job;
    job.transfer = NewTransferJob();
    job.pSegment = &m_pSegments[nId];
    if (!m_workers.StartSegment(job)) {
        OnSegmentFailedMsg(nId, ERROR_NOT_ENOUGH_MEMORY);
    }
}

void CInstallController::RelaunchParkedSegments() {
    std::vector<int> vecParked;
    vecParked.swap(m_vecFailed);
    for (int nId : vecParked) {
        StartSegmentTransfer(nId);
    }
}

void CInstallController::QueueRelaunch(int nCode) {
    m_bReconnecting = true;
    if (m_pacer.Queue(nCode)) {
        m_view.ArmTimer(kRelaunchTimerId, m_pacer.NextPauseMs());
    }
}

void CInstallController::OnTimer(UINT_PTR nIdEvent) {
    if (nIdEvent == kRelaunchTimerId) {
        OnRelaunchTimer();
    } else if (nIdEvent == kWatchTimerId) {
        OnWatchTimer();
    } else if (nIdEvent == kProxyTimerId) {
        if (m_eProxyLookup == ProxyLookup::kUnderWay) {
            KORVIX_TRACE(L"no proxy found within the look-up's bound\n\r");
            EndProxyLookup();
        }
    } else {
        SetMsgHandled(FALSE);  // the window's own
    }
}

void CInstallController::OnRelaunchTimer() {
    m_view.DisarmTimer(kRelaunchTimerId);
    int nCode = 0;
    if (!m_pacer.Take(nCode)) {
        return;
    }
    if (nCode == DOWN_ERR_FILESIZE) {
        StartSizeQuery();
    } else if (m_pSegments) {
        StartSegmentTransfer(nCode);  // resumes after the bytes it has
    }
    if (!m_pacer.Empty()) {
        m_view.ArmTimer(kRelaunchTimerId, m_pacer.NextPauseMs());
    }
}

void CInstallController::OnWatchTimer() {
    if (m_bFailing || !m_bInstalling) {
        return;
    }
    const DWORD dwSilentMs = m_pfnTicks() - m_dwLastByteTick;
    const bool bRangesUnderWay = m_pSegments && m_nCompleteCount < SEGMENT_COUNT;
    if (bRangesUnderWay && dwSilentMs >= m_nSilenceLimitMs) {
        KORVIX_TRACE(L"no byte for the silence limit: network failure\n\r");
        OnNetworkFailure();
        return;
    }
    if (m_bReconnecting && !m_bReconnectShown && dwSilentMs >= RECONNECT_TEXT_AFTER_MS) {
        m_bReconnectShown = true;
        m_view.ShowReconnecting();
    }
}

void CInstallController::OnSegmentFailedMsg(int nId, DWORD dwError) {
    wchar_t szTrace[80];
    swprintf(szTrace, 80, L"segment %d failed, error %lu\n\r", nId,
             static_cast<unsigned long>(dwError));
    KORVIX_TRACE(szTrace);
    if (!m_pSegments || nId < 0 || nId >= SEGMENT_COUNT) {
        return;
    }
    --m_nRunningTransfers;
    if (m_bFailing) {
        return;  // the outcome is on its way; nothing changes it
    }
    if (m_nFatalCount > 0) {
        OnLocalFailure();  // a local failure was seen: the installation cannot go on
        return;
    }
    if (m_nRetryCount <= MAX_RETRY) {
        QueueRelaunch(nId);
        ++m_nRetryCount;
        return;
    }
    m_vecFailed.push_back(nId);
    if (static_cast<int>(m_vecFailed.size()) + m_nCompleteCount == SEGMENT_COUNT) {
        OnNetworkFailure();
    }
}

void CInstallController::OnDownErrorMsg(DownError nWork, DWORD dwError) {
    // The worker's own error, for the diagnosis: the decisions below do not
    // depend on it.
    m_nLastFailedWork = nWork;
    m_dwLastFailureError = dwError;
    wchar_t szTrace[80];
    swprintf(szTrace, 80, L"failure report %d, error %lu\n\r", static_cast<int>(nWork),
             static_cast<unsigned long>(dwError));
    KORVIX_TRACE(szTrace);
    if (nWork == DOWN_ERR_WRITE) {
        m_bWriteRunning = false;  // the file is no write's any more
        if (m_bFailing) {
            CloseDownload();  // the discard waited for this write
        }
    }
    if (m_bFailing) {
        return;  // the outcome is on its way; nothing changes it
    }
    if (nWork == DOWN_ERR_UNTRUSTED) {
        OnNetworkFailure();  // the browser fetches it, with its own checks
        return;
    }
    if (m_nFatalCount > 0 || nWork != DOWN_ERR_FILESIZE) {
        // Before an installation (a picture of the dialog that would not
        // load) it is only counted, and no failure is relaunched from then
        // on; during one, the installation cannot go on.
        if (m_bInstalling) {
            OnLocalFailure();
        } else {
            ++m_nFatalCount;
        }
        return;
    }
    const bool bTimeLeft = m_pfnTicks() - m_dwSizeQuerySince < SIZE_QUERY_LIMIT_MS;
    if (m_nRetryCount <= MAX_RETRY && bTimeLeft) {
        QueueRelaunch(DOWN_ERR_FILESIZE);
        ++m_nRetryCount;
    } else if (!m_bFallback) {
        RestartInstall();
    } else {
        OnNetworkFailure();
    }
}

void CInstallController::BeginFailureOutcome() {
    ++m_nFatalCount;
    m_bFailing = true;
    m_view.DisarmTimer(kRelaunchTimerId);
    m_view.DisarmTimer(kWatchTimerId);
    m_view.DisarmTimer(kProxyTimerId);
    m_pacer.Reset();
    DiscardDownload();
}

void CInstallController::OnNetworkFailure() {
    BeginFailureOutcome();
    m_view.ShowNetworkFailure();
}

void CInstallController::OnLocalFailure() {
    BeginFailureOutcome();
    m_view.ShowLocalFailure();
}

void CInstallController::OnDownProgressMsg(int nPercent, DWORD nBytes) {
    int nPos = nPercent;
    if (nPercent == 0) {
        ++m_nByteReports;
        m_nMostByteReportsWaiting =
            std::max(m_nMostByteReportsWaiting, ByteReportsPosted() - m_nByteReports);
        m_nDownBytes += nBytes;
        nPos = DownloadPosition(m_nDownBytes, m_nFileSize);
        m_dwLastByteTick = m_pfnTicks();
        m_bReconnecting = false;
        if (m_bReconnectShown) {
            m_bReconnectShown = false;
            m_nShownPosition = -1;  // the percentage comes back
        }
    }
    // A byte report moves the bar by a fraction of a percent at most: the bar
    // and the text are redrawn only when the shown position changes.
    if (nPos != m_nShownPosition) {
        m_nShownPosition = nPos;
        m_view.ShowProgress(nPos);
    }
    m_nRetryCount = 0;
    m_pacer.OnProgress();
    if (m_pSegments && !m_bFailing) {
        RelaunchParkedSegments();
    }
}

void CInstallController::OnInstallCompleteMsg() {
    m_downloadFolder.Release();  // the installer's worker is done with it
    m_bInstalling = false;
    m_view.ShowFinished();
}
