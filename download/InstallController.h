#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "DownloadFolder.h"
#include "DownloadMessages.h"
#include "InstallView.h"
#include "InstallWorkers.h"
#include "MessageMap.h"
#include "ProxyDiscovery.h"
#include "ProxyPlan.h"
#include "RelaunchPacer.h"
#include "SegmentInfo.h"
#include "UniqueHandle.h"

// A relaunch is granted while the count since the last progress is at most
// this: 41 relaunches fit between two progress reports.
const int MAX_RETRY = 40;
// A transport's size query has this long for its tries: each try of a host
// that drops every packet waits out its time-outs, and 42 of them would
// keep the user waiting at 0% for a quarter of an hour.
const DWORD SIZE_QUERY_LIMIT_MS = 60000;
// While the file's ranges are under way, this long without a byte (a
// silent server, a dead link that keeps its connections open) ends in the
// network outcome, as a spent budget does: a download that moves at all
// goes on.
const DWORD SILENCE_LIMIT_MS = 120000;
// A failure waiting for its relaunch shows in the status line once no byte
// has come for this long; while bytes flow the percentage stays.
const DWORD RECONNECT_TEXT_AFTER_MS = 2000;
// The fallback waits this long for its proxy to be looked up (auto-detection's
// DHCP and DNS queries, a script's download), then goes on through the named
// proxy, or directly: short against the transport's minute, long enough for
// a script on a slow line.
const DWORD PROXY_LOOKUP_LIMIT_MS = 10000;
// The controller's timers: the relaunches of failed transfers, the watch for
// a silent download that also shows a relaunch under way, and the bound of
// the proxy's look-up.
const UINT_PTR kRelaunchTimerId = 3396;
const UINT_PTR kWatchTimerId = 3397;
const UINT_PTR kProxyTimerId = 3398;
const UINT kWatchTimerMs = 1000;
// The download folder's name under the all-users documents.
const wchar_t kDownloadFolderName[] = L"Velmora";

// What an installation starts from, read from the page when install is
// pressed.
struct InstallRequest {
    std::wstring strUrl;          // the download address
    std::wstring strInstallPath;  // where the child installs
    std::wstring strPublicDocs;   // all-users documents: the download folder's parent
};

// The installation from the size query to the installer's end: the retry
// decisions, the segment table, the in-order writes of the partial file and
// the installer's run. It handles the workers' reports in its own message
// map, which the window chains, so every decision is taken on the window's
// thread; it shows them through the view and starts work through the
// workers, each with a job record of its own.
class CInstallController : public CMessageMap {
public:
    using TickSource = DWORD(WINAPI*)();
    using ProxyConfigSource = bool (*)(ProxyConfig& config);

    CInstallController(IInstallView& view, IInstallWorkers& workers)
        : m_view(view), m_workers(workers) {}
    // Transfers still running when the program ends write into their
    // buffers, and a write may still use the file, until the process ends
    // with them: neither the table nor that file goes before.
    ~CInstallController() override;
    CInstallController(const CInstallController&) = delete;
    CInstallController& operator=(const CInstallController&) = delete;

    // The window the workers report to; set once it exists.
    void SetReportWindow(HWND hWnd) { m_hReportWnd = hWnd; }
    // Starts an installation, after reading the user's proxy settings: false,
    // with nothing started, when the address names no host and path.
    bool StartInstall(const InstallRequest& request);

    BEGIN_MSG_MAP(CInstallController)
        MSG_WM_DOWN_PROGRESS(OnDownProgressMsg)
        MSG_WM_DOWN_FILESIZE(OnFileSizeMsg)
        MSG_WM_SEGMENT_COMPLETE(OnSegmentCompleteMsg)
        MSG_WM_SEGMENT_FAILED(OnSegmentFailedMsg)
        MSG_WM_DOWN_ERROR(OnDownErrorMsg)
        MSG_WM_UNION_FILE_COMPLETE(OnUnionFileCompleteMsg)
        MSG_WM_INSTALL_COMPLETE(OnInstallCompleteMsg)
        MSG_WM_PROXY_FOUND(OnProxyFoundMsg)
        MSG_WM_TIMER(OnTimer)
    END_MSG_MAP()

    // The state, read by the tests; written on the window's thread only.
    SegmentTable m_pSegments;  // 40 records while the file is assembled
    DWORD m_nFileSize = 0;
    int m_nCurrentWriteId = 0;           // the segment whose turn it is to be written
    std::vector<int> m_vecWaitWrite;     // downloaded, waiting for their turn
    int m_nRetryCount = 0;               // relaunches since the last progress report
    std::vector<int> m_vecFailed;        // parked when the retry budget was used up
    int m_nCompleteCount = 0;            // segments completely downloaded
    int m_nRunningTransfers = 0;         // segment transfers yet to give their final report
    int m_nShownPosition = -1;           // what the bar and the status line show now
    LONG m_nByteReports = 0;             // byte reports handled
    LONG m_nMostByteReportsWaiting = 0;  // posted but not yet handled, at the most
    // The last failure report handled, and its worker's error (the diagnosis).
    int m_nLastFailedWork = 0;
    DWORD m_dwLastFailureError = 0;
    DWORD m_nDownBytes = 0;        // bytes received by all transfers; never reset
    int m_nFatalCount = 0;         // while above 0 every failure report is ignored
    bool m_bFallback = false;      // WinHTTP on port 80 after the one restart
    CRelaunchPacer m_pacer;        // failed transfers waiting for their relaunch
    DWORD m_dwSizeQuerySince = 0;  // when this transport's size query began
    bool m_bFailing = false;       // a failure's outcome is shown; the program then ends
    DWORD m_dwLastByteTick = 0;    // the last byte report, or the start
    DWORD m_nSilenceLimitMs = SILENCE_LIMIT_MS;  // the tests shorten it
    bool m_bReconnecting = false;    // a relaunch or a new size query since the last byte
    bool m_bReconnectShown = false;  // the status line says so
    bool m_bWriteRunning = false;    // a write has the file until it reports
    // The download folder, open from the partial file's creation until the
    // installer's worker reports, and the file being assembled in it.
    CDownloadFolder m_downloadFolder;
    CFileHandle m_hDownFile;
    TickSource m_pfnTicks = ::GetTickCount;                        // the tests' clock goes here
    ProxyConfigSource m_pfnReadProxyConfig = ReadUserProxyConfig;  // and their settings
    // The user's proxy settings, read once, what follows from them, and the
    // fallback's proxy: the plan's, or what the one look-up found.
    ProxyConfig m_proxyConfig;
    ProxyPlan m_proxyPlan;
    WinHttpProxy m_fallbackProxy;
    enum class ProxyLookup { kNotYet, kUnderWay, kDone };
    ProxyLookup m_eProxyLookup = ProxyLookup::kNotYet;

private:
    // Start, progress, failures and relaunches (InstallController.cpp).
    void Begin();
    void BeginSizeQueries();
    void RestartInstall();
    TransferJob NewTransferJob() const;
    void StartSizeQuery();
    void StartSegmentTransfer(int nId);
    void RelaunchParkedSegments();
    void QueueRelaunch(int nCode);
    void OnTimer(UINT_PTR nIdEvent);
    void OnRelaunchTimer();
    void OnWatchTimer();
    // The fallback's proxy: looked up once, on a worker, within its bound.
    void ReadProxySettings();
    void StartProxyLookup();
    void OnProxyFoundMsg(WinHttpProxy* pFound, DWORD dwError);
    void EndProxyLookup();
    void OnDownProgressMsg(int nPercent, DWORD nBytes);
    void OnSegmentFailedMsg(int nId, DWORD dwError);
    void OnDownErrorMsg(DownError nWork, DWORD dwError);
    // The two ends of a failed installation, shown by the view.
    void OnNetworkFailure();
    void OnLocalFailure();
    void BeginFailureOutcome();
    void OnInstallCompleteMsg();

    // Segment table and assembly (SegmentAssembly.cpp).
    void OnFileSizeMsg(DWORD nFileSize);
    void OnSegmentCompleteMsg(int nId);
    void OnUnionFileCompleteMsg(int nId);
    bool CreateDownloadFile();
    void StartSegmentWrite(int nId);
    void StartInstaller();
    // The partial file goes: marked for deletion at once, closed (and the
    // folder released) once no write has it.
    void DiscardDownload();
    void CloseDownload();

    IInstallView& m_view;
    IInstallWorkers& m_workers;
    HWND m_hReportWnd = nullptr;
    InstallRequest m_request;  // the installation under way
    std::wstring m_strHost;    // of m_request's address
    std::wstring m_strObject;
    bool m_bInstalling = false;
};
