// The install controller's decisions against a fake view and fake workers:
// reports reach it as the workers post them, through a window of its own,
// and time is the test's. The partial file is real, in a folder of the test.

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InstallController.h"

namespace {

DWORD g_nNow = 0;
DWORD WINAPI TestTicks() {
    return g_nNow;
}

// The user's proxy settings as the test sets them (none by default).
ProxyConfig g_proxyConfig;
bool TestProxyConfig(ProxyConfig& config) {
    config = g_proxyConfig;
    return true;
}

class CFakeView : public IInstallView {
public:
    void ShowInstalling() override { m_vecShown.push_back("installing"); }
    void ShowProgress(int nPos) override { m_vecPositions.push_back(nPos); }
    void ShowReconnecting() override { m_vecShown.push_back("reconnecting"); }
    void ShowFinished() override { m_vecShown.push_back("finished"); }
    void ShowNetworkFailure() override { m_vecShown.push_back("network"); }
    void ShowLocalFailure() override { m_vecShown.push_back("local"); }
    void ArmTimer(UINT_PTR nId, UINT nMs) override {
        if (nId == kRelaunchTimerId) {
            m_vecPauses.push_back(nMs);
        }
        Armed(nId) = true;
    }
    void DisarmTimer(UINT_PTR nId) override { Armed(nId) = false; }
    bool& Armed(UINT_PTR nId) {
        return nId == kRelaunchTimerId ? m_bRelaunchArmed
               : nId == kWatchTimerId  ? m_bWatchArmed
                                       : m_bProxyArmed;
    }

    std::vector<std::string> m_vecShown;
    std::vector<int> m_vecPositions;
    std::vector<UINT> m_vecPauses;  // every relaunch pause asked for, in order
    bool m_bRelaunchArmed = false;
    bool m_bWatchArmed = false;
    bool m_bProxyArmed = false;
};

class CFakeWorkers : public IInstallWorkers {
public:
    // Each job is kept; none starts while m_bRefuse (no memory for it).
    bool StartSizeQuery(const TransferJob& job) override { return Keep(m_vecSizeQueries, job); }
    bool StartProxyLookup(const ProxyLookupJob& job) override { return Keep(m_vecLookups, job); }
    bool StartSegment(const SegmentJob& job) override { return Keep(m_vecSegments, job); }
    bool StartWrite(const WriteJob& job) override { return Keep(m_vecWrites, job); }
    bool StartInstaller(const InstallerJob& job) override { return Keep(m_vecInstallers, job); }
    template <class TJob>
    bool Keep(std::vector<TJob>& vec, const TJob& job) {
        if (m_bRefuse) {
            return false;
        }
        vec.push_back(job);
        return true;
    }

    bool m_bRefuse = false;

    std::vector<TransferJob> m_vecSizeQueries;
    std::vector<ProxyLookupJob> m_vecLookups;
    std::vector<SegmentJob> m_vecSegments;
    std::vector<WriteJob> m_vecWrites;
    std::vector<InstallerJob> m_vecInstallers;
};

LRESULT CALLBACK BenchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* pController =
        reinterpret_cast<CInstallController*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lResult = 0;
    if (pController && pController->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) {
        return lResult;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

const DWORD kSize = 4000000;

// One controller with its fake view and workers, a message-only window that
// feeds it, and a documents folder of its own for the download folder.
class CBench {
public:
    CBench() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = BenchProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvixControllerBench";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_controller));
        m_controller.SetReportWindow(m_hWnd);
        m_controller.m_pfnTicks = TestTicks;
        m_controller.m_pfnReadProxyConfig = TestProxyConfig;
        g_nNow = 1000;
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        m_strDocs =
            std::wstring(szTemp) + L"korvix-controller-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_strDocs.c_str(), nullptr);
    }
    ~CBench() {
        DestroyWindow(m_hWnd);
        for (const InstallerJob& job : m_workers.m_vecInstallers) {
            CloseHandle(job.hFile);  // what the installer's worker would own
        }
        m_controller.m_bWriteRunning = false;  // no write of a fake worker runs
        m_controller.m_hDownFile.Close();
        m_controller.m_downloadFolder.Release();
        DeleteFileW(PartialFile().c_str());
        RemoveDirectoryW((m_strDocs + L"\\Velmora").c_str());
        RemoveDirectoryW(m_strDocs.c_str());
    }
    CBench(const CBench&) = delete;
    CBench& operator=(const CBench&) = delete;

    void Start() {
        InstallRequest request;
        request.strUrl = L"https://localhost/korvix/setup.exe";
        request.strInstallPath = L"C:\\Program Files";
        request.strPublicDocs = m_strDocs;
        ASSERT_TRUE(m_controller.StartInstall(request));
    }
    std::wstring PartialFile() const { return m_strDocs + L"\\Velmora\\setup.down"; }

    // A worker's report, and whatever the controller posted to itself.
    void Report(UINT uMsg, WPARAM wParam, LPARAM lParam) {
        SendMessageW(m_hWnd, uMsg, wParam, lParam);
        MSG msg;
        for (int i = 0; i < 1000 && PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE); ++i) {
            DispatchMessageW(&msg);
        }
    }
    void FireRelaunch() { Report(WM_TIMER, kRelaunchTimerId, 0); }
    void FireWatch() { Report(WM_TIMER, kWatchTimerId, 0); }
    void FireProxyBound() { Report(WM_TIMER, kProxyTimerId, 0); }
    // Relaunch ticks until none is waiting (bounded).
    void DrainRelaunches() {
        for (int i = 0; i < 200 && m_view.m_bRelaunchArmed; ++i) {
            FireRelaunch();
        }
    }
    void SizeFails() { Report(WM_DOWN_ERROR, ERROR_INTERNET_TIMEOUT, DOWN_ERR_FILESIZE); }
    // The size query answers; every segment's transfer starts.
    void SizeIs(DWORD nSize) { Report(WM_DOWN_FILESIZE, 0, nSize); }
    void SegmentFails(int nId) { Report(WM_SEGMENT_FAILED, ERROR_INTERNET_CONNECTION_RESET, nId); }
    // Segment nId fails until it is parked, with no byte between.
    void SegmentFailsForGood(int nId) {
        for (int i = 0; i <= MAX_RETRY + 1; ++i) {
            SegmentFails(nId);
            DrainRelaunches();
        }
    }
    void Bytes(DWORD n) { Report(WM_DOWN_PROGRESS, 0, n); }
    // Segment nId fully in: its bytes, then its completion.
    void SegmentArrives(int nId) {
        const DWORD nLength = m_controller.m_pSegments[nId].nLength;
        if (nLength) {
            Bytes(nLength);
        }
        Report(WM_SEGMENT_COMPLETE, 0, nId);
    }
    // The write under way ends well.
    void Written() {
        ASSERT_FALSE(m_workers.m_vecWrites.empty());
        Report(WM_UNION_FILE_COMPLETE, 0, m_workers.m_vecWrites.back().pSegment->nId);
    }
    // The first outcome the view was asked to show, or "none".
    std::string Outcome() const {
        for (const std::string& str : m_view.m_vecShown) {
            if (str == "network" || str == "local" || str == "finished") {
                return str;
            }
        }
        return "none";
    }

    CFakeView m_view;
    CFakeWorkers m_workers;
    CInstallController m_controller{m_view, m_workers};
    HWND m_hWnd = nullptr;
    std::wstring m_strDocs;
};

}  // namespace

// The retry budget, the size query's minute, the one restart, parking and
// the outcomes, each as the reports of one road.
TEST(InstallController, RoadsEndInTheirOutcome) {
    struct Road {
        const char* pszName;
        std::function<void(CBench&)> steps;
        const char* pszOutcome;
        bool bFallback;
        size_t nSizeQueries;  // started, the restart's included
    };
    const std::vector<Road> roads = {
        {"41 size failures are relaunched; the 42nd try answers",
         [](CBench& b) {
             for (int i = 0; i <= MAX_RETRY; ++i) {
                 b.SizeFails();
                 b.FireRelaunch();
             }
             b.SizeIs(kSize);
         },
         "none", false, 42},
        {"42 size failures restart over the fallback; 42 more end it",
         [](CBench& b) {
             for (int i = 0; i < 84; ++i) {
                 b.SizeFails();
                 b.DrainRelaunches();
             }
         },
         "network", true, 84},
        {"a size query failing after its minute restarts at once",
         [](CBench& b) {
             b.SizeFails();
             b.FireRelaunch();
             g_nNow += SIZE_QUERY_LIMIT_MS;
             b.SizeFails();
         },
         "none", true, 3},
        {"a size of 0 is a failed size query, with no file and no segment",
         [](CBench& b) {
             for (int i = 0; i < 84; ++i) {
                 b.SizeIs(0);
                 b.DrainRelaunches();
             }
             EXPECT_EQ(nullptr, b.m_controller.m_pSegments);
             EXPECT_TRUE(b.m_workers.m_vecSegments.empty());
             EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(b.PartialFile().c_str()));
         },
         "network", true, 84},
        {"the last segment parked, with the others in, ends it",
         [](CBench& b) {
             b.SizeIs(kSize);
             for (int nId = 1; nId < SEGMENT_COUNT; ++nId) {
                 b.SegmentArrives(nId);
             }
             b.SegmentFailsForGood(0);
             EXPECT_EQ(std::vector<int>{0}, b.m_controller.m_vecFailed);
         },
         "network", false, 1},
        {"bytes give parked segments their try again, in the order they failed",
         [](CBench& b) {
             b.SizeIs(kSize);
             b.SegmentFailsForGood(7);
             b.SegmentFails(2);  // the budget is spent: parked at once
             EXPECT_EQ((std::vector<int>{7, 2}), b.m_controller.m_vecFailed);
             const size_t nStarted = b.m_workers.m_vecSegments.size();
             b.Bytes(1);
             ASSERT_EQ(nStarted + 2, b.m_workers.m_vecSegments.size());
             EXPECT_EQ(7, b.m_workers.m_vecSegments[nStarted].pSegment->nId);
             EXPECT_EQ(2, b.m_workers.m_vecSegments[nStarted + 1].pSegment->nId);
         },
         "none", false, 1},
        {"coalesced byte reports of 40 transfers: every byte on the bar, each renews the budget",
         [](CBench& b) {
             b.SizeIs(kSize);
             b.SegmentFailsForGood(7);
             ASSERT_EQ(std::vector<int>{7}, b.m_controller.m_vecFailed);
             const size_t nStarted = b.m_workers.m_vecSegments.size();
             for (int nId = 0; nId < SEGMENT_COUNT; ++nId) {
                 b.Bytes(b.m_controller.m_pSegments[nId].nLength);  // a transfer's whole
                 EXPECT_EQ(0, b.m_controller.m_nRetryCount);
                 EXPECT_TRUE(b.m_controller.m_vecFailed.empty());
             }
             EXPECT_EQ(nStarted + 1, b.m_workers.m_vecSegments.size()) << "7 once";
             EXPECT_EQ(kSize, b.m_controller.m_nDownBytes);
             EXPECT_EQ(80, b.m_view.m_vecPositions.back());
             b.SegmentFails(3);  // the budget is whole again: queued, not parked
             EXPECT_EQ(1, b.m_controller.m_nRetryCount);
             EXPECT_TRUE(b.m_controller.m_vecFailed.empty());
         },
         "none", false, 1},
        {"workers that cannot start fail as their reports would: relaunched, then parked",
         [](CBench& b) {
             b.SizeIs(kSize);
             b.m_workers.m_bRefuse = true;
             b.SegmentFails(5);
             b.DrainRelaunches();
             EXPECT_EQ(std::vector<int>{5}, b.m_controller.m_vecFailed);
             b.m_workers.m_bRefuse = false;
             b.Bytes(1);
             EXPECT_EQ(5, b.m_workers.m_vecSegments.back().pSegment->nId);
         },
         "none", false, 1},
        {"an untrusted installer ends as a network failure",
         [](CBench& b) { b.Report(WM_DOWN_ERROR, TRUST_E_NOSIGNATURE, DOWN_ERR_UNTRUSTED); },
         "network", false, 1},
        {"a local failure ends the installation",
         [](CBench& b) { b.Report(WM_DOWN_ERROR, ERROR_DISK_FULL, DOWN_ERR_SYSTEM); }, "local",
         false, 1},
        {"after a local failure was counted, a segment's failure is not relaunched",
         [](CBench& b) {
             b.SizeIs(kSize);
             b.m_controller.m_nFatalCount = 1;
             b.SegmentFails(0);
         },
         "local", false, 1},
        {"no byte for the silence limit ends it; a byte before does not",
         [](CBench& b) {
             b.SizeIs(kSize);
             g_nNow += SILENCE_LIMIT_MS - 1;
             b.Bytes(1);
             g_nNow += SILENCE_LIMIT_MS - 1;
             b.FireWatch();
             EXPECT_EQ("none", b.Outcome());
             g_nNow += 1;
             b.FireWatch();
         },
         "network", false, 1},
        {"written in order, the installer's 90 and 100, then the finished page",
         [](CBench& b) {
             b.SizeIs(kSize);
             for (int nId = SEGMENT_COUNT - 1; nId >= 1; --nId) {
                 b.SegmentArrives(nId);  // all wait for segment 0
             }
             EXPECT_TRUE(b.m_workers.m_vecWrites.empty());
             b.SegmentArrives(0);
             for (int nId = 0; nId < SEGMENT_COUNT; ++nId) {
                 ASSERT_EQ(static_cast<size_t>(nId + 1), b.m_workers.m_vecWrites.size());
                 EXPECT_EQ(nId, b.m_workers.m_vecWrites.back().pSegment->nId);
                 b.Written();
             }
             ASSERT_EQ(1u, b.m_workers.m_vecInstallers.size());
             // The file the writes went through, handed over, no longer the controller's.
             EXPECT_NE(nullptr, b.m_workers.m_vecInstallers[0].hFile);
             EXPECT_FALSE(b.m_controller.m_hDownFile.IsValid());
             EXPECT_EQ(L"setup.exe", b.m_workers.m_vecInstallers[0].strInstallerName);
             EXPECT_EQ(L"C:\\Program Files", b.m_workers.m_vecInstallers[0].strInstallPath);
             b.Report(WM_DOWN_PROGRESS, 90, 0);
             b.Report(WM_DOWN_PROGRESS, 100, 0);
             b.Report(WM_INSTALL_COMPLETE, 0, 0);
             const std::vector<int>& vec = b.m_view.m_vecPositions;
             ASSERT_GE(vec.size(), 3u);
             EXPECT_EQ((std::vector<int>{80, 90, 100}), std::vector<int>(vec.end() - 3, vec.end()));
         },
         "finished", false, 1},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.pszName);
        CBench bench;
        bench.Start();
        road.steps(bench);
        EXPECT_EQ(road.pszOutcome, bench.Outcome());
        EXPECT_EQ(road.bFallback, bench.m_controller.m_bFallback);
        ASSERT_EQ(road.nSizeQueries, bench.m_workers.m_vecSizeQueries.size());
        // Each job carries the address and the transport it was started
        // for: the first transport's, then, after the restart, the fallback.
        bool bFallbackSeen = false;
        for (const TransferJob& job : bench.m_workers.m_vecSizeQueries) {
            EXPECT_EQ(L"localhost", job.strHost);
            EXPECT_EQ(L"korvix/setup.exe", job.strObject);
            EXPECT_EQ(bench.m_hWnd, job.hReportTo);
            EXPECT_TRUE(job.bFallback || !bFallbackSeen) << "back to the first transport";
            bFallbackSeen = job.bFallback;
            // The user has no proxy: WinINet without its auto-proxy, WinHTTP direct.
            EXPECT_FALSE(job.bWinInetPreconfig);
            EXPECT_EQ(WinHttpProxy::kDirect, job.fallbackProxy.eKind);
        }
        EXPECT_EQ(road.bFallback, bFallbackSeen);
        for (const SegmentJob& job : bench.m_workers.m_vecSegments) {
            EXPECT_EQ(kSize, job.transfer.nFileSize);
        }
    }
}

// Relaunches go one per tick after pauses that grow; while one waits and no
// byte comes, the status line says so after 2 s, and the next byte brings the
// percentage back.
TEST(InstallController, RelaunchesArePacedAndShown) {
    CBench bench;
    bench.Start();
    bench.SizeIs(kSize);
    for (int nId : {4, 5, 6}) {
        bench.SegmentFails(nId);
    }
    const size_t nStarted = bench.m_workers.m_vecSegments.size();
    bench.FireRelaunch();
    bench.FireRelaunch();
    bench.FireRelaunch();
    EXPECT_EQ((std::vector<UINT>{250, 500, 1000}), bench.m_view.m_vecPauses);
    EXPECT_FALSE(bench.m_view.m_bRelaunchArmed);
    ASSERT_EQ(nStarted + 3, bench.m_workers.m_vecSegments.size());
    EXPECT_EQ(6, bench.m_workers.m_vecSegments.back().pSegment->nId);

    g_nNow += RECONNECT_TEXT_AFTER_MS;
    bench.FireWatch();
    EXPECT_EQ("reconnecting", bench.m_view.m_vecShown.back());
    const size_t nShown = bench.m_view.m_vecPositions.size();
    bench.Bytes(1);
    ASSERT_EQ(nShown + 1, bench.m_view.m_vecPositions.size());
    EXPECT_EQ(0, bench.m_view.m_vecPositions.back());  // shown again, though unchanged
}

// A failure while a write has the file: the file is marked for deletion at
// once, but closed only when the write reports, and the window never waits.
// A write's own failure is a local one.
TEST(InstallController, DiscardWaitsForTheWriteReport) {
    for (bool bWriteFails : {false, true}) {
        SCOPED_TRACE(bWriteFails ? "the write fails" : "another failure during the write");
        CBench bench;
        bench.Start();
        bench.SizeIs(kSize);
        bench.SegmentArrives(0);
        ASSERT_EQ(1u, bench.m_workers.m_vecWrites.size());
        const HANDLE hFile = bench.m_controller.m_hDownFile.Get();
        EXPECT_EQ(hFile, bench.m_workers.m_vecWrites[0].hFile);
        if (bWriteFails) {
            bench.Report(WM_DOWN_ERROR, ERROR_DISK_FULL, DOWN_ERR_WRITE);
            EXPECT_EQ("local", bench.Outcome());
        } else {
            bench.Report(WM_DOWN_ERROR, TRUST_E_NOSIGNATURE, DOWN_ERR_UNTRUSTED);
            EXPECT_EQ("network", bench.Outcome());
            EXPECT_EQ(hFile, bench.m_controller.m_hDownFile.Get()) << "closed under the write";
            EXPECT_TRUE(bench.m_controller.m_downloadFolder.IsOpen());
            bench.Written();
        }
        EXPECT_FALSE(bench.m_controller.m_hDownFile.IsValid());
        EXPECT_FALSE(bench.m_controller.m_downloadFolder.IsOpen());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(bench.PartialFile().c_str()));
        EXPECT_EQ(1u, bench.m_workers.m_vecWrites.size()) << "a write after the failure";
    }
}

// A failure reported before any installation (a picture of the window) is
// only counted; a file under 40 bytes leaves empty segments that complete
// without a transfer.
TEST(InstallController, CountedFailuresAndEmptySegments) {
    CBench bench;
    bench.Report(WM_DOWN_ERROR, ERROR_RESOURCE_DATA_NOT_FOUND, DOWN_ERR_SYSTEM);
    EXPECT_EQ(1, bench.m_controller.m_nFatalCount);
    EXPECT_EQ("none", bench.Outcome());

    CBench tiny;
    tiny.Start();
    tiny.SizeIs(7);
    ASSERT_EQ(1u, tiny.m_workers.m_vecSegments.size());
    EXPECT_EQ(SEGMENT_COUNT - 1, tiny.m_workers.m_vecSegments[0].pSegment->nId);
    EXPECT_EQ(SEGMENT_COUNT - 1, tiny.m_controller.m_nCompleteCount);
}

// A company desktop's settings (auto-detection and a named proxy): every
// WinINet request follows them; the fallback looks its proxy up once and
// starts its size query only on the answer, or, past the look-up's bound,
// through the named proxy (a late answer changes nothing); all its requests
// then go through the same proxy.
TEST(InstallController, FallbackLooksItsProxyUpOnce) {
    g_proxyConfig = ProxyConfig();
    g_proxyConfig.bAutoDetect = true;
    g_proxyConfig.strProxy = L"named:8080";
    for (bool bAnswered : {true, false}) {
        SCOPED_TRACE(bAnswered ? "the look-up answers" : "the look-up outlives its bound");
        CBench bench;
        bench.Start();
        for (int i = 0; i < MAX_RETRY + 2; ++i) {
            bench.SizeFails();
            bench.DrainRelaunches();
        }
        ASSERT_TRUE(bench.m_controller.m_bFallback);
        ASSERT_EQ(1u, bench.m_workers.m_vecLookups.size());
        EXPECT_EQ(L"http://localhost/korvix/setup.exe", bench.m_workers.m_vecLookups[0].strUrl);
        EXPECT_TRUE(bench.m_workers.m_vecLookups[0].bAutoDetect);
        const size_t nFirstRoad = bench.m_workers.m_vecSizeQueries.size();
        EXPECT_EQ(static_cast<size_t>(MAX_RETRY + 2), nFirstRoad) << "asked before the answer";
        EXPECT_TRUE(bench.m_view.m_bProxyArmed);
        WinHttpProxy found;
        found.eKind = WinHttpProxy::kNamed;
        found.strProxy = L"found:3128";
        const std::wstring strExpected = bAnswered ? L"found:3128" : L"named:8080";
        if (bAnswered) {
            bench.Report(WM_PROXY_FOUND, 0, reinterpret_cast<LPARAM>(new WinHttpProxy(found)));
        } else {
            bench.FireProxyBound();
            bench.Report(WM_PROXY_FOUND, 0, reinterpret_cast<LPARAM>(new WinHttpProxy(found)));
        }
        EXPECT_FALSE(bench.m_view.m_bProxyArmed);
        bench.SizeFails();
        bench.DrainRelaunches();
        bench.SizeIs(kSize);
        EXPECT_EQ(1u, bench.m_workers.m_vecLookups.size());
        const std::vector<TransferJob>& vecQueries = bench.m_workers.m_vecSizeQueries;
        ASSERT_EQ(nFirstRoad + 2, vecQueries.size());
        std::vector<TransferJob> vecJobs(vecQueries.begin(), vecQueries.end());
        for (const SegmentJob& job : bench.m_workers.m_vecSegments) {
            vecJobs.push_back(job.transfer);
        }
        for (size_t i = 0; i < vecJobs.size(); ++i) {
            EXPECT_TRUE(vecJobs[i].bWinInetPreconfig);
            if (vecJobs[i].bFallback) {
                EXPECT_EQ(WinHttpProxy::kNamed, vecJobs[i].fallbackProxy.eKind) << i;
                EXPECT_EQ(strExpected, vecJobs[i].fallbackProxy.strProxy) << i;
            }
        }
        EXPECT_EQ(static_cast<size_t>(SEGMENT_COUNT), bench.m_workers.m_vecSegments.size());
    }
    g_proxyConfig = ProxyConfig();
}
