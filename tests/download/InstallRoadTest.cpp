// The install road with the real dialog in this process against real servers
// that the bench (road_test.sh) started for the scenario. Each scenario runs
// in a process of its own: the download's counters live as long as the
// process, as in the program.
#include <windows.h>
#include <aclapi.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>

#include "AppModule.h"
#include "ComApartment.h"
#include "DownloadUrl.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "RoadObserver.h"
#include "RoadTestSupport.h"
#include "SegmentInfo.h"
#include "ShellFolder.h"
#include "WorkerReports.h"

namespace {

const DWORD kRoadTimeoutMs = 120000;
const wchar_t kClientKeyParent[] = L"SOFTWARE\\WOW6432Node\\Velmora";
const wchar_t kClientKey[] = L"SOFTWARE\\WOW6432Node\\Velmora\\VelmoraDown";

void Press(HWND hButton) {
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(hButton, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

std::wstring StoredClientId() {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClientKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) !=
        ERROR_SUCCESS) {
        return L"";
    }
    wchar_t szId[256] = {};
    DWORD cb = sizeof(szId) - sizeof(wchar_t);
    DWORD dwType = 0;
    RegQueryValueExW(hKey, L"GUID", nullptr, &dwType, reinterpret_cast<BYTE*>(szId), &cb);
    RegCloseKey(hKey);
    return szId;
}

// nginx's access log lines of the analytics collector, blanks unescaped.
std::vector<std::string> CollectorHits(const std::string& strAction) {
    std::vector<std::string> vecHits;
    for (std::string strLine : ReadLines(WinePath(EnvA("KORVIX_NGINX_LOG")))) {
        for (size_t n; (n = strLine.find("%20")) != std::string::npos;) {
            strLine.replace(n, 3, " ");
        }
        if (strLine.find("\"HEAD /collect?") != std::string::npos &&
            strLine.find("ea=" + strAction) != std::string::npos) {
            vecHits.push_back(strLine);
        }
    }
    return vecHits;
}

class InstallRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // COM on this thread, as the program's start-up has it (the desktop
        // shell is reached through it); kept until the process ends.
        static CComApartment* pCom = new CComApartment;
        (void)pCom;
        ExtractLanguagePacks();
        InitLanguage();
        _Module.Init(nullptr, GetModuleHandleW(nullptr));
    }

    void SetUp() override {
        const std::wstring strUrl = GetLanStr(L"STR_DOWN_URL");
        std::wstring strBase;
        if (DownloadBaseName(strUrl, strBase)) {
            m_strPartialName = strBase + L"down";
        }
        m_strInstallerName = DownloadFileName(strUrl);
        m_strFixedFolder = SpecialFolderPath(CSIDL_COMMON_DOCUMENTS) + L"\\Velmora";
        const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string strName = pInfo->name();
        m_strInstallPath = L"C:\\korvix road\\" + std::wstring(strName.begin(), strName.end());
        SHCreateDirectoryExW(nullptr, m_strInstallPath.c_str(), nullptr);
        m_strRecord = EnvW("KORVIX_FAKE_RECORD");
        DeleteFileW(m_strRecord.c_str());

        _Module.AddMessageLoop(&m_loop);
        // Never deleted: workers may post to it until the process ends.
        m_pDlg = new CMainDlg;
        ASSERT_NE(nullptr, m_pDlg->Create(nullptr, 0));
        m_pDlg->ShowWindow(SW_SHOWNORMAL);
        m_pRoad.reset(new CRoadObserver(*m_pDlg));
        // The budget's logic at a quicker pace than a user's outage needs.
        Controller().m_pacer = CRelaunchPacer(5, 20);
        // Any box is answered, so that no scenario can hang in one.
        m_pAnswerer.reset(new CBoxAnswerer(m_pDlg->m_hWnd, IDOK));
        m_pRoad->PumpFor(100);
    }

    void TearDown() override {
        if (HasFailure()) {
            std::string strSeen;
            for (size_t i = 0; i < m_pRoad->m_vecFailures.size(); ++i) {
                strSeen += " " + std::to_string(m_pRoad->m_vecFailures[i]) + "/" +
                           std::to_string(m_pRoad->m_vecErrors[i]);
            }
            printf("failure reports (code/error):%s\n", strSeen.c_str());
        }
        if (!m_bBoxesExpected && m_pAnswerer) {
            for (const std::wstring& strText : m_pAnswerer->Texts()) {
                ADD_FAILURE() << "unexpected message box: " << Utf8(strText);
            }
        }
        m_pAnswerer.reset();
    }

    // The boxes of this scenario are answered with nAnswer and checked by it.
    CBoxAnswerer& ExpectBoxes(int nAnswer) {
        m_bBoxesExpected = true;
        m_pAnswerer.reset(new CBoxAnswerer(m_pDlg->m_hWnd, nAnswer));
        return *m_pAnswerer;
    }

    HWND Item(int nId) { return m_pDlg->GetDlgItem(nId); }
    CInstallController& Controller() { return m_pDlg->m_controller; }

    // A user's road: folder typed, box ticked, install pressed.
    void PressInstall(bool bTick = true) {
        SetDlgItemTextW(m_pDlg->m_hWnd, IDC_EDIT_PATH, m_strInstallPath.c_str());
        if (bTick) {
            Press(Item(IDC_CHK_AGREE));
        }
        Press(Item(IDC_BTN_INSTALL));
    }

    bool PumpUntilFinished() {
        return m_pRoad->PumpUntil([this] { return m_pDlg->m_nInstallState == 2; }, kRoadTimeoutMs);
    }

    std::vector<std::string> ServerLog() { return ReadLines(WinePath(EnvA("KORVIX_SERVER_LOG"))); }

    // The file was assembled in order, one writer at a time, buffers freed.
    void ExpectAssembledInOrder() {
        std::vector<int> vecAll(SEGMENT_COUNT);
        std::iota(vecAll.begin(), vecAll.end(), 0);
        EXPECT_EQ(vecAll, m_pRoad->m_vecWritten);
        for (const std::string& strFault : m_pRoad->m_vecFaults) {
            ADD_FAILURE() << strFault;
        }
    }

    // The child ran on the intact payload with the silent command line.
    void ExpectInstallerRanOnThePayload() {
        std::string strRecord = ReadWholeFile(m_strRecord);
        ASSERT_FALSE(strRecord.empty()) << "the child installer never ran";
        EXPECT_EQ(EnvA("KORVIX_PAYLOAD_SHA256"), RecordValue(strRecord, "sha256"));
        EXPECT_EQ(Utf8(L" /verysilent /velmora_down /path=\"" + m_strInstallPath + L"\""),
                  RecordValue(strRecord, "cmdline"));
        // It ran from the download folder, in it.
        const std::wstring strFolder = m_pRoad->m_strDownloadFolder;
        ASSERT_FALSE(strFolder.empty()) << "no download folder was seen";
        EXPECT_EQ(Utf8(strFolder + L"\\" + m_strInstallerName), RecordValue(strRecord, "self"));
        EXPECT_EQ(Utf8(strFolder), RecordValue(strRecord, "cwd"));
        EXPECT_TRUE(FileExists(m_strInstallPath + L"\\Velmora\\Velmora Korvix\\Korvix.exe"));
        ExpectNothingOfTheRunLeft();
    }

    // Neither the partial file nor the installer is left, and a folder made
    // for this run beside someone else's is gone too.
    void ExpectNothingOfTheRunLeft() {
        const std::wstring& strFolder = m_pRoad->m_strDownloadFolder;
        if (strFolder.empty()) {
            return;  // no folder was ever opened
        }
        EXPECT_FALSE(FileExists(strFolder + L"\\" + m_strInstallerName)) << "installer left";
        EXPECT_FALSE(FileExists(strFolder + L"\\" + m_strPartialName)) << "partial file left";
        if (strFolder != m_strFixedFolder) {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strFolder.c_str()))
                << Utf8(strFolder) << " left";
        }
    }

    // Installed as usual through a fresh folder beside the fixed one, which
    // was someone else's; the bench checks that their files are unchanged.
    void ExpectInstalledBesideSomeonesFolder() {
        ASSERT_TRUE(PumpUntilFinished());
        ExpectAssembledInOrder();
        ExpectInstallerRanOnThePayload();
        const std::wstring& strFolder = m_pRoad->m_strDownloadFolder;
        EXPECT_EQ(m_strFixedFolder + L"-", strFolder.substr(0, m_strFixedFolder.size() + 1));
        EXPECT_EQ(m_strFixedFolder.size() + 9, strFolder.size()) << Utf8(strFolder);
    }

    // Bar: up to 80 (81 for sizes not a multiple of 4) by the download,
    // then exactly 90 and 100.
    void ExpectBarEndsWith(int nDownloaded) {
        const std::vector<int>& vec = m_pRoad->m_vecPositions;
        ASSERT_GE(vec.size(), 3u);
        EXPECT_EQ(nDownloaded, vec[vec.size() - 3]);
        EXPECT_EQ(90, vec[vec.size() - 2]);
        EXPECT_EQ(100, vec.back());
        EXPECT_TRUE(std::is_sorted(vec.begin(), vec.end()));
    }

    void ExpectFinishedPage() {
        EXPECT_EQ(2, m_pDlg->m_nInstallState);
        EXPECT_TRUE(::IsWindowVisible(Item(IDC_BTN_START)));
        EXPECT_TRUE(::IsWindowVisible(Item(IDC_BTN_CLOSE)));
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_PROGRESS)));
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_BTN_HIDE)));
        EXPECT_TRUE(m_pDlg->IsWindowVisible());
    }

    // The road ended in one box (pszText captioned pszCaption, both pack
    // keys), then exit code 1000, with nothing of the download left behind.
    void ExpectFailureOutcome(CBoxAnswerer& answerer, LPCWSTR pszText, LPCWSTR pszCaption) {
        m_pRoad->PumpUntil([] { return false; }, kRoadTimeoutMs);
        ASSERT_TRUE(m_pRoad->m_bQuit) << "the road ended in no outcome";
        EXPECT_EQ(1000, m_pRoad->m_nQuitCode);
        ASSERT_EQ(1u, answerer.Texts().size());
        EXPECT_EQ(GetLanStr(pszText), answerer.Texts()[0]);
        EXPECT_EQ(GetLanStr(pszCaption), answerer.Captions()[0]);
        EXPECT_EQ(1, Controller().m_nFatalCount);
        ExpectNothingOfTheRunLeft();
    }

    // The download folder's list, read back, names no Everyone and no Users,
    // and lets no one but SYSTEM, Administrators and its owner read or write
    // anything in it. (Wine keeps no descriptor: it shows one made from the
    // Unix mode it set from ours.)
    void ExpectFolderOursAlone() {
        PSID pOwner = nullptr;
        PACL pDacl = nullptr;
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  GetNamedSecurityInfoW(m_strFixedFolder.c_str(), SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &pOwner, nullptr, &pDacl, nullptr, &pDescriptor));
        ASSERT_NE(nullptr, pDacl);
        const ACCESS_MASK kUse = FILE_READ_DATA | FILE_EXECUTE | FILE_WRITE_DATA |
                                 FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_READ | GENERIC_WRITE | GENERIC_ALL;
        for (DWORD i = 0; i < pDacl->AceCount; ++i) {
            void* pEntry = nullptr;
            ASSERT_TRUE(GetAce(pDacl, i, &pEntry));
            const ACCESS_ALLOWED_ACE* pAce = static_cast<ACCESS_ALLOWED_ACE*>(pEntry);
            PSID pSid = const_cast<DWORD*>(&pAce->SidStart);
            EXPECT_FALSE(IsWellKnownSid(pSid, WinWorldSid)) << "Everyone: " << pAce->Mask;
            EXPECT_FALSE(IsWellKnownSid(pSid, WinBuiltinUsersSid)) << "Users: " << pAce->Mask;
            const bool bOurs = EqualSid(pSid, pOwner) || IsWellKnownSid(pSid, WinLocalSystemSid) ||
                               IsWellKnownSid(pSid, WinBuiltinAdministratorsSid);
            if (pAce->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && !bOurs) {
                EXPECT_EQ(0u, pAce->Mask & kUse) << "entry " << i;
            }
        }
        LocalFree(pDescriptor);
    }

    // The most range requests the fault server was answering at one time.
    int MostRangesOpen() {
        int nMost = 0;
        for (const std::string& strLine : ServerLog()) {
            const std::string strOpen = JsonField(strLine, "open_ranges");
            nMost = std::max(nMost, strOpen.empty() ? 0 : std::stoi(strOpen));
        }
        return nMost;
    }

    // Requests of one target in the fault server's log, in arrival order.
    std::vector<std::string> Requests(const std::string& strTarget) {
        std::vector<std::string> vec;
        for (const std::string& strLine : ServerLog()) {
            if (JsonField(strLine, "target") == strTarget) {
                vec.push_back(strLine);
            }
        }
        return vec;
    }

    // One line of Squid's access log: a request, or a tunnel, as it ended.
    struct ProxyLine {
        double dStart;  // seconds
        double dEnd;
        std::string strResult;  // "TCP_TUNNEL/200", "TCP_DENIED/407", ...
        std::string strMethod;
        std::string strUrl;
    };
    std::vector<ProxyLine> ProxyLog() {
        std::vector<ProxyLine> vec;
        for (const std::string& strLine : ReadLines(WinePath(EnvA("KORVIX_PROXY_LOG")))) {
            std::istringstream fields(strLine);
            ProxyLine line;
            double dElapsedMs = 0;
            std::string strClient;
            std::string strBytes;
            if (fields >> line.dEnd >> dElapsedMs >> strClient >> line.strResult >> strBytes >>
                line.strMethod >> line.strUrl) {
                line.dStart = line.dEnd - dElapsedMs / 1000;
                vec.push_back(line);
            }
        }
        return vec;
    }
    size_t ProxyLines(const std::string& strResult, const std::string& strMethod) {
        size_t n = 0;
        for (const ProxyLine& line : ProxyLog()) {
            n += line.strResult == strResult && line.strMethod == strMethod ? 1 : 0;
        }
        return n;
    }
    // The most tunnels the proxy had open at one time, the first (the size
    // query's) left out.
    int MostRangeTunnelsOpen() {
        std::vector<ProxyLine> vecTunnels;
        for (const ProxyLine& line : ProxyLog()) {
            if (line.strMethod == "CONNECT" && line.strResult == "TCP_TUNNEL/200") {
                vecTunnels.push_back(line);
            }
        }
        std::sort(vecTunnels.begin(), vecTunnels.end(),
                  [](const ProxyLine& a, const ProxyLine& b) { return a.dStart < b.dStart; });
        int nMost = 0;
        for (size_t i = 1; i < vecTunnels.size(); ++i) {
            int nOpen = 0;
            for (size_t j = 1; j < vecTunnels.size(); ++j) {
                nOpen += vecTunnels[j].dStart <= vecTunnels[i].dStart &&
                                 vecTunnels[i].dStart < vecTunnels[j].dEnd
                             ? 1
                             : 0;
            }
            nMost = std::max(nMost, nOpen);
        }
        return nMost;
    }
    // The fallback's size query and 40 ranges went through the proxy to the
    // server's port 80, and reached it.
    void ExpectFallbackThroughTheProxy() {
        const std::string strUrl =
            "http://" + EnvA("KORVIX_PROXIED_HOST") + "/korvix/velmora-korvix_setup.exe";
        size_t nHead = 0;
        size_t nRanges = 0;
        for (const ProxyLine& line : ProxyLog()) {
            nHead += line.strMethod == "HEAD" && line.strUrl == strUrl ? 1 : 0;
            nRanges +=
                line.strMethod == "GET" && line.strUrl == strUrl && line.strResult == "TCP_MISS/206"
                    ? 1
                    : 0;
        }
        EXPECT_EQ(1u, nHead);
        EXPECT_EQ(40u, nRanges);
    }

    CMessageLoop m_loop;
    CMainDlg* m_pDlg = nullptr;
    std::unique_ptr<CRoadObserver> m_pRoad;
    std::wstring m_strPartialName;    // the partial file's name in the download folder
    std::wstring m_strInstallerName;  // the installer's
    std::wstring m_strFixedFolder;    // Public Documents\Velmora
    std::wstring m_strInstallPath;
    std::wstring m_strRecord;
    std::unique_ptr<CBoxAnswerer> m_pAnswerer;
    bool m_bBoxesExpected = false;
};

// nginx on 443 and 80, a payload of a few megabytes; first run on the
// machine: the program makes its download folder.
TEST_F(InstallRoad, WholeRoad) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClientKeyParent);
    RemoveDirectoryW(m_strFixedFolder.c_str());  // left empty by an earlier run
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_EQ(m_strFixedFolder, m_pRoad->m_strDownloadFolder);
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    ExpectBarEndsWith(80);
    ExpectFinishedPage();
    EXPECT_FALSE(Controller().m_bFallback);
    EXPECT_TRUE(m_pRoad->m_vecFailures.empty());
    ExpectFolderOursAlone();

    // A fresh id, kept in the registry, in both events.
    std::wstring strId = StoredClientId();
    ASSERT_EQ(36u, strId.size());
    EXPECT_EQ(L'-', strId[8]);
    for (size_t i = 14; i < 18; ++i) {
        EXPECT_FALSE(iswupper(strId[i])) << "third group must be lower case";
    }
    std::string strIdA = Utf8(strId);
    m_pRoad->PumpUntil([] { return CollectorHits("Downloader_Installed").size() == 1; }, 10000);
    for (const char* pszAction : {"Downloader_Start_Install", "Downloader_Installed"}) {
        std::vector<std::string> vecHits = CollectorHits(pszAction);
        ASSERT_EQ(1u, vecHits.size()) << pszAction;
        EXPECT_NE(std::string::npos,
                  vecHits[0].find("/collect?v=1&t=event&tid=UA-40925113-07&cid=" + strIdA +
                                  "&ec=Velmora Korvix (Windows version)&ea=" + pszAction +
                                  "&el=" + strIdA + " HTTP/1.1\""))
            << vecHits[0];
    }
}

// Run after WholeRoad on the same prefix (the bench runs both): the stored id
// is reused unchanged.
TEST_F(InstallRoad, SecondRunReusesTheClientId) {
    std::wstring strBefore = StoredClientId();
    ASSERT_EQ(36u, strBefore.size()) << "run WholeRoad first";
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_EQ(strBefore, StoredClientId());
    std::vector<std::string> vecHits = CollectorHits("Downloader_Start_Install");
    ASSERT_FALSE(vecHits.empty());
    EXPECT_NE(std::string::npos, vecHits.back().find("&cid=" + Utf8(strBefore) + "&"));
    ExpectInstallerRanOnThePayload();
}

// The fault server on 443 only: early ends, resets, a whole-file answer,
// 404, 500 and a logon challenge (401, Negotiate) on first attempts, a range
// of another total, three failed size queries, and slow first segments. The
// file still comes out whole and in order, and the user's logon never went to
// the server; no collector on 80.
TEST_F(InstallRoad, FaultsHeal) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    EXPECT_FALSE(Controller().m_bFallback);

    // The slow segments 0 and 1 completed after 2; written in order anyway.
    const std::vector<int>& vecDone = m_pRoad->m_vecCompleted;
    auto at = [&](int nId) {
        return std::find(vecDone.begin(), vecDone.end(), nId) - vecDone.begin();
    };
    EXPECT_LT(at(2), at(0));
    EXPECT_LT(at(0), at(1));

    // Segment 5 ended early after 65536 bytes: the relaunch asks for the rest.
    std::vector<std::string> vecSeg5 = Requests("5");
    ASSERT_GE(vecSeg5.size(), 2u);
    long long nFirst5 = std::stoll(JsonField(vecSeg5[0], "first"));
    EXPECT_EQ(nFirst5 + 65536, std::stoll(JsonField(vecSeg5[1], "first")));
    EXPECT_EQ(JsonField(vecSeg5[0], "last"), JsonField(vecSeg5[1], "last"));
    // Every faulty first attempt was followed by another one; 13's named
    // another total (another version of the file).
    for (const char* pszSeg : {"7", "9", "11", "12", "13", "14"}) {
        EXPECT_GE(Requests(pszSeg).size(), 2u) << "segment " << pszSeg;
    }
    for (const std::string& strLine : ServerLog()) {
        EXPECT_EQ("false", JsonField(strLine, "authorization")) << strLine;
    }
    EXPECT_EQ(4u, Requests("size").size());
}

// Over the fallback's WinHTTP, segment 5 sends 64 KiB and then nothing on
// every attempt: each attempt asks only for the rest, after the bytes that
// came before the stall, and the download ends on its percentage.
TEST_F(InstallRoad, StalledRangeResumesInFallback) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_TRUE(Controller().m_bFallback);
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    std::vector<std::string> vecSeg5 = Requests("5");
    ASSERT_GE(vecSeg5.size(), 3u);
    const long long nFirst = std::stoll(JsonField(vecSeg5[0], "first"));
    for (size_t i = 1; i < vecSeg5.size(); ++i) {
        EXPECT_EQ(nFirst + 65536 * static_cast<long long>(i),
                  std::stoll(JsonField(vecSeg5[i], "first")))
            << "attempt " << i + 1;
    }
    ASSERT_FALSE(m_pRoad->m_vecStatusTexts.empty());
    EXPECT_EQ(0u, m_pRoad->m_vecStatusTexts.back().find(GetLanStr(L"STR_INSTALLING_WAIT")))
        << "the download ended on another text";
}

// Segment 3 is accepted and never answered, on every attempt: once the
// others are in, the silence limit (shortened here) brings the network box,
// without waiting for the budget.
TEST_F(InstallRoad, SilentRangeEndsInNetworkBox) {
    Controller().m_nSilenceLimitMs = 4000;
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    const DWORD dwStart = GetTickCount();
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_EQ(39, Controller().m_nCompleteCount);
    EXPECT_LT(GetTickCount() - dwStart, 25000u) << "a receive time-out came first";
}

// Every size query over HTTPS waits out its 30 s receive time-out: the
// transport's minute ends after two or three tries, not 42; then the
// restart, whose tries fail at once (port 80 closed), and the network box.
TEST_F(InstallRoad, SlowSizeQueryFailures) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_TRUE(Controller().m_bFallback);
    EXPECT_GE(Requests("size").size(), 2u) << "the receive time-out did not end the first try";
    EXPECT_LE(Requests("size").size(), 3u) << "the minute did not bound the tries";
    // While the size was asked again, the status line said so.
    const std::vector<std::wstring>& vecTexts = m_pRoad->m_vecStatusTexts;
    EXPECT_NE(vecTexts.end(),
              std::find(vecTexts.begin(), vecTexts.end(), GetLanStr(L"STR_RECONNECTING")));
}

// Port 443 closed: 42 size queries fail, one restart over WinHTTP on port
// 80 (HEAD), and the download completes there.
TEST_F(InstallRoad, FallbackToPlainHttp) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_TRUE(Controller().m_bFallback);
    size_t nSizeFailures =
        std::count(m_pRoad->m_vecFailures.begin(), m_pRoad->m_vecFailures.end(), DOWN_ERR_FILESIZE);
    EXPECT_EQ(42u, nSizeFailures);
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    size_t nHead = 0;
    size_t nRanges = 0;
    for (const std::string& strLine : ReadLines(WinePath(EnvA("KORVIX_NGINX_LOG")))) {
        if (strLine.find("\"HEAD /korvix/") != std::string::npos) {
            ++nHead;
        }
        if (strLine.find("\"GET /korvix/") != std::string::npos &&
            strLine.find("HTTP/1.1\" 206 ") != std::string::npos) {
            ++nRanges;
        }
    }
    EXPECT_EQ(1u, nHead);
    EXPECT_EQ(40u, nRanges);
}

// Segments 0 and 1 fail their first 35 attempts while the others wait 4 s:
// 2 tries and 41 relaunches, then both are parked in the order they failed,
// relaunched by the first progress report, and the file completes.
TEST_F(InstallRoad, SegmentsParkedAndRelaunched) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_EQ(43u, m_pRoad->m_nFailuresBeforeProgress);
    const std::vector<LPARAM>& vecFailures = m_pRoad->m_vecFailures;
    ASSERT_GE(vecFailures.size(), 43u);
    std::vector<int> vecLastTwo = {static_cast<int>(vecFailures[41]),
                                   static_cast<int>(vecFailures[42])};
    EXPECT_EQ(vecLastTwo, m_pRoad->m_vecParkedAtFirstProgress);
    EXPECT_EQ(36u, Requests("0").size());
    EXPECT_EQ(36u, Requests("1").size());
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
}

// Every range is held a second at the server: all 40 are open there at the
// same time, and the process-wide connection limits read back as the
// program set them (WinINet's own default is lower).
TEST_F(InstallRoad, FortyRangesAtOnce) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectInstallerRanOnThePayload();
    EXPECT_FALSE(Controller().m_bFallback);
    EXPECT_EQ(40, MostRangesOpen());
    for (DWORD dwOption :
         {INTERNET_OPTION_MAX_CONNS_PER_SERVER, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER}) {
        DWORD dwValue = 0;
        DWORD cbValue = sizeof(dwValue);
        ASSERT_TRUE(InternetQueryOptionW(nullptr, dwOption, &dwValue, &cbValue)) << dwOption;
        EXPECT_EQ(50u, dwValue) << dwOption;
    }
}

// The same over WinHTTP on port 80, after 42 failed size queries on 443.
TEST_F(InstallRoad, FortyRangesAtOnceInFallback) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectInstallerRanOnThePayload();
    EXPECT_TRUE(Controller().m_bFallback);
    EXPECT_EQ(40, MostRangesOpen());
}

// Segment 3 always answers 500: once every other segment is complete and 3
// is parked, the network-failure box; OK opens the download address.
TEST_F(InstallRoad, NetworkFailureOk) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_EQ(2u, answerer.Buttons()[0]);
    EXPECT_EQ(39, Controller().m_nCompleteCount);
    // The browser stand-in writes the address it was given.
    std::wstring strOpened = WinePath(EnvA("KORVIX_BROWSER_RECORD"));
    m_pRoad->PumpUntil([&] { return !ReadWholeFile(strOpened).empty(); }, 20000);
    EXPECT_EQ(Utf8(GetLanStr(L"STR_DOWN_URL")) + "\n", ReadWholeFile(strOpened));
    // Opened by the desktop's shell, as the desktop user, not by this process.
    EXPECT_EQ("explorer.exe\n", ReadWholeFile(strOpened + L".parent"));
}

TEST_F(InstallRoad, NetworkFailureCancel) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    m_pRoad->PumpFor(2000);
    EXPECT_TRUE(ReadWholeFile(WinePath(EnvA("KORVIX_BROWSER_RECORD"))).empty());
}

// A 43-byte file: the bar ends its download part at 81; the bytes are no
// signed program, so nothing starts: the network box (fetch it in the
// browser), and the refused installer is gone.
TEST_F(InstallRoad, TinyFileOf43Bytes) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    ExpectAssembledInOrder();
    ASSERT_GE(m_pRoad->m_vecPositions.size(), 2u);
    EXPECT_EQ(81, m_pRoad->m_vecPositions[m_pRoad->m_vecPositions.size() - 2]);
    EXPECT_EQ(90, m_pRoad->m_vecPositions.back());
    EXPECT_EQ(DOWN_ERR_UNTRUSTED, m_pRoad->m_vecFailures.back());
    EXPECT_EQ(1, m_pDlg->m_nInstallState);
}

// A 7-byte file: 39 empty segments complete without a request; the last
// one carries all 7 bytes, which are refused too.
TEST_F(InstallRoad, TinyFileOf7Bytes) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    ExpectAssembledInOrder();
    size_t nRanged = 0;
    for (const std::string& strLine : ServerLog()) {
        nRanged += JsonField(strLine, "first") != "null" ? 1 : 0;
    }
    EXPECT_EQ(1u, nRanged);
}

// The publisher's signature on a file that carries no version: where the
// build names a minimum version, no version is too old. Refused unrun, as an
// untrusted installer: the network box, and nothing of it is left.
TEST_F(InstallRoad, UnversionedInstallerRefused) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    ExpectAssembledInOrder();
    EXPECT_EQ(DOWN_ERR_UNTRUSTED, m_pRoad->m_vecFailures.back());
    EXPECT_TRUE(ReadWholeFile(m_strRecord).empty()) << "the refused installer ran";
}

// Signed in the publisher's name with a certificate its CA has revoked (a
// stolen key), on the HTTPS road: refused unrun, as an untrusted installer.
// And the publisher's own signature after the fallback to plain HTTP, where
// the signer's revocation cannot be had (whoever forced the fallback may
// answer for the CA): refused too; over HTTPS that would run.
TEST_F(InstallRoad, RevokedSignerRefused) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_FALSE(Controller().m_bFallback);
    EXPECT_EQ(DOWN_ERR_UNTRUSTED, m_pRoad->m_vecFailures.back());
    EXPECT_EQ(static_cast<WPARAM>(CERT_E_REVOKED), m_pRoad->m_vecErrors.back());
    EXPECT_TRUE(ReadWholeFile(m_strRecord).empty()) << "the refused installer ran";
}

TEST_F(InstallRoad, UnknownRevocationRefusedInFallback) {
    CBoxAnswerer& answerer = ExpectBoxes(IDCANCEL);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_TRUE(Controller().m_bFallback);
    EXPECT_EQ(DOWN_ERR_UNTRUSTED, m_pRoad->m_vecFailures.back());
    EXPECT_EQ(static_cast<WPARAM>(CERT_E_REVOCATION_FAILURE), m_pRoad->m_vecErrors.back());
    EXPECT_TRUE(ReadWholeFile(m_strRecord).empty()) << "the refused installer ran";
}

// A size the process cannot hold in memory (about 1.9 GB, which a large-
// address-aware 32-bit process can have: the address space is taken first,
// but for some room to run): the buffers cannot be had, which is a local
// failure (code 42), not a crash; nothing is requested.
TEST_F(InstallRoad, AllocationFailureFails) {
    if (sizeof(void*) == 8) {
        GTEST_SKIP() << "a 64-bit process has the memory: the 32-bit program's case only";
    }
    TakeAddressSpace(256u << 20);
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NOTICE_PROCESS2", L"STR_SYSTEM_ERROR");
    // Found by the controller itself: no worker reported a failure.
    EXPECT_TRUE(m_pRoad->m_vecFailures.empty());
    EXPECT_EQ(DOWN_ERR_SYSTEM, Controller().m_nLastFailedWork);
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), Controller().m_dwLastFailureError);
    EXPECT_EQ(nullptr, Controller().m_pSegments);
    EXPECT_EQ(1u, ServerLog().size()) << "only the size query may reach the server";
}

// The all-users documents folder is a file (the bench's doing): no download
// folder can be had at all, which is a local failure (code 42).
TEST_F(InstallRoad, FolderBlockedFails) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NOTICE_PROCESS2", L"STR_SYSTEM_ERROR");
    EXPECT_TRUE(m_pRoad->m_vecFailures.empty());
    EXPECT_EQ(DOWN_ERR_SYSTEM, Controller().m_nLastFailedWork);
    EXPECT_TRUE(m_pRoad->m_vecCompleted.empty());
}

// The download folder's place is taken by someone else's folder open to
// all, holding their files, two of them under the program's own names; or
// by a link to their folder (Wine shows a Unix link as a reparse point by
// name, and opens its target); or by a folder and a link that swap places
// every millisecond while the program works. Each time the installation
// goes on in a fresh folder of its own; nothing of theirs is touched.
TEST_F(InstallRoad, SomeonesFolderLeftAlone) {
    PressInstall();
    ExpectInstalledBesideSomeonesFolder();
}

TEST_F(InstallRoad, LinkedFolderLeftAlone) {
    PressInstall();
    ExpectInstalledBesideSomeonesFolder();
}

TEST_F(InstallRoad, SwappedFolderRace) {
    PressInstall();
    ExpectInstalledBesideSomeonesFolder();
}

// 256 MiB at full speed on loopback: the window handles far fewer byte
// reports than the transfers make reads (each reads what the connection
// holds: one per read was 32,800 reports), few ever wait in its queue at
// once, and every one posted was handled.
TEST_F(InstallRoad, ByteReportsAtFullSpeed) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    const DWORD dwBytesMs = m_pRoad->m_dwLastBytesTick - m_pRoad->m_dwFirstBytesTick;
    printf("byte reports: %d handled over %lu ms, at most %ld waiting\n", m_pRoad->m_nByteReports,
           static_cast<unsigned long>(dwBytesMs), Controller().m_nMostByteReportsWaiting);
    // Each transfer: its first bytes at once, then one report per period at
    // the most, then the rest before its end.
    EXPECT_LE(m_pRoad->m_nByteReports,
              static_cast<int>(SEGMENT_COUNT * (dwBytesMs / BYTE_REPORT_PERIOD_MS + 2)));
    // A fixed bound far below a queue's 10,000 posted messages (one report
    // per read had 32,000 waiting here), yet above what a window's thread
    // that stalls for a couple of seconds lets pile up (40 every 50 ms).
    EXPECT_LE(Controller().m_nMostByteReportsWaiting, 2000);
    EXPECT_EQ(Controller().m_nByteReports, ByteReportsPosted()) << "a report was lost";
}

// A company desktop: the user's settings name a proxy (Squid), and only the
// proxy can resolve the download host. The file comes through it, whole, its
// 40 ranges in tunnels open at the same time (each range is served slowly
// enough to show it).
TEST_F(InstallRoad, ThroughTheNamedProxy) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    EXPECT_FALSE(Controller().m_bFallback);
    EXPECT_TRUE(Controller().m_proxyPlan.bWinInetPreconfig);
    EXPECT_GE(ProxyLines("TCP_TUNNEL/200", "CONNECT"), 41u) << "the size query and 40 ranges";
    EXPECT_EQ(40, MostRangeTunnelsOpen());
}

// The proxy refuses tunnels (403 to CONNECT): the fallback's WinHTTP goes
// through the same proxy, as plain HTTP, and the install completes.
TEST_F(InstallRoad, FallbackThroughTheProxy) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_TRUE(Controller().m_bFallback);
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    EXPECT_EQ(42u, ProxyLines("TCP_DENIED/403", "CONNECT"));
    ExpectFallbackThroughTheProxy();
}

// The settings name only an auto-configuration script, which names the proxy
// for the download host. This Wine's WinINet does not follow a script (it
// goes direct and finds no such host); the fallback looks the proxy up from
// the script, once, and goes through it.
TEST_F(InstallRoad, FallbackThroughTheScriptsProxy) {
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    EXPECT_TRUE(Controller().m_bFallback);
    EXPECT_EQ(WinHttpProxy::kNamed, Controller().m_fallbackProxy.eKind);
    EXPECT_EQ(L"127.0.0.1:3128", Controller().m_fallbackProxy.strProxy);
    ExpectAssembledInOrder();
    ExpectInstallerRanOnThePayload();
    EXPECT_EQ(0u, ProxyLines("TCP_TUNNEL/200", "CONNECT"));
    ExpectFallbackThroughTheProxy();
}

// The proxy wants a user name and password (Basic), which nobody gave and no
// dialog asks for: both stacks get 407, and the road ends as with any server
// that cannot be used: the network box, and OK hands the address to the
// browser, which can ask.
TEST_F(InstallRoad, ProxyWantsAPassword) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NETWORK_ERROR", L"STR_ERROR");
    EXPECT_TRUE(Controller().m_bFallback);
    EXPECT_GE(ProxyLines("TCP_DENIED/407", "CONNECT"), 1u) << "WinINet never asked the proxy";
    EXPECT_GE(ProxyLines("TCP_DENIED/407", "HEAD"), 1u) << "the fallback never asked the proxy";
    const std::wstring strOpened = WinePath(EnvA("KORVIX_BROWSER_RECORD"));
    m_pRoad->PumpUntil([&] { return !ReadWholeFile(strOpened).empty(); }, 20000);
    EXPECT_EQ(Utf8(GetLanStr(L"STR_DOWN_URL")) + "\n", ReadWholeFile(strOpened));
}

// The desktop's shell cannot be reached (Explorer restarting, another shell,
// a remote application session): nothing is started with this process's
// token. The licence link shows its address instead; the start button takes
// the window away, asks the shell for the product, and, refused, says where
// the product was installed; then the end, with nothing started.
std::vector<std::wstring> g_vecAskedOfTheShell;
bool NoDesktopShell(const std::wstring& strFile, const std::wstring& /*strArguments*/,
                    const std::wstring& /*strFolder*/, DWORD& dwError) {
    g_vecAskedOfTheShell.push_back(strFile);
    dwError = static_cast<DWORD>(E_NOINTERFACE);
    return false;
}

TEST_F(InstallRoad, NoDesktopShell) {
    m_pDlg->m_pfnDesktopShell = NoDesktopShell;
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    Press(Item(IDC_BTN_LICENCE));
    m_pRoad->PumpUntil([&] { return answerer.Texts().size() == 1; }, 10000);
    PressInstall();
    ASSERT_TRUE(PumpUntilFinished());
    ExpectInstallerRanOnThePayload();
    Press(Item(IDC_BTN_START));
    m_pRoad->PumpUntil([] { return false; }, 10000);  // until the end
    ASSERT_TRUE(m_pRoad->m_bQuit);
    EXPECT_EQ(1000, m_pRoad->m_nQuitCode);
    const std::wstring strFolder = m_strInstallPath + L"\\Velmora\\Velmora Korvix";
    // Each asked of the shell a few times before its box.
    std::vector<std::wstring> vecExpected(DESKTOP_SHELL_TRIES, GetLanStr(L"STR_LICENCE_URL"));
    vecExpected.insert(vecExpected.end(), DESKTOP_SHELL_TRIES, strFolder + L"\\Korvix.exe");
    EXPECT_EQ(vecExpected, g_vecAskedOfTheShell);
    ASSERT_EQ(2u, answerer.Texts().size());
    EXPECT_EQ(GetLanStr(L"STR_OPEN_ADDRESS") + L"\n\n" + GetLanStr(L"STR_LICENCE_URL"),
              answerer.Texts()[0]);
    EXPECT_EQ(GetLanStr(L"STR_PRODUCT_INSTALLED_IN") + L"\n\n" + strFolder + L"\n\n" +
                  GetLanStr(L"STR_START_FROM_MENU"),
              answerer.Texts()[1]);
    EXPECT_FALSE(m_pDlg->IsWindow() && m_pDlg->IsWindowVisible()) << "the window stayed";
    EXPECT_TRUE(ReadWholeFile(EnvW("KORVIX_FAKE_PRODUCT_RECORD")).empty()) << "the product ran";
    EXPECT_TRUE(ReadWholeFile(WinePath(EnvA("KORVIX_BROWSER_RECORD"))).empty())
        << "a browser was started";
}

// Install without the box ticked: the information box and the warning; no
// thread, no event.
TEST_F(InstallRoad, InstallWithoutAgreeing) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall(false);
    m_pRoad->PumpFor(1500);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(GetLanStr(L"STR_AGREE_INSTALL"), answerer.Texts()[0]);
    EXPECT_EQ(GetLanStr(L"STR_SOFT_TIP"), answerer.Captions()[0]);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_LBL_AGREE)));
    EXPECT_EQ(0, m_pDlg->m_nInstallState);
    EXPECT_TRUE(CollectorHits("Downloader_Start_Install").empty());
    EXPECT_TRUE(ReadLines(WinePath(EnvA("KORVIX_NGINX_LOG"))).empty());
}

// Built with an address without a path: the URL box (its text is in no
// pack), and the licence page stays.
TEST_F(InstallRoad, UrlWithoutPath) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    m_pRoad->PumpFor(1500);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(L"", answerer.Texts()[0]);
    EXPECT_EQ(GetLanStr(L"STR_SOFT_TIP"), answerer.Captions()[0]);
    EXPECT_EQ(0, m_pDlg->m_nInstallState);
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_BTN_INSTALL)));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_PROGRESS)));
    // The start event had gone out already (from the analytics thread).
    m_pRoad->PumpUntil([] { return !CollectorHits("Downloader_Start_Install").empty(); }, 10000);
    EXPECT_EQ(1u, CollectorHits("Downloader_Start_Install").size());
}

// Built with an address whose last part has no extension: the size query
// succeeds, then code 43: the local-failure box, no segment request.
TEST_F(InstallRoad, NoFileNameFails) {
    CBoxAnswerer& answerer = ExpectBoxes(IDOK);
    PressInstall();
    ExpectFailureOutcome(answerer, L"STR_NOTICE_PROCESS2", L"STR_SYSTEM_ERROR");
    EXPECT_TRUE(m_pRoad->m_vecFailures.empty());
    EXPECT_EQ(DOWN_ERR_URL, Controller().m_nLastFailedWork);
    EXPECT_EQ(nullptr, Controller().m_pSegments);
    size_t nGets = 0;
    for (const std::string& strLine : ReadLines(WinePath(EnvA("KORVIX_NGINX_LOG")))) {
        nGets += strLine.find("\"GET /korvix.d/setup") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(1u, nGets);
}

}  // namespace
