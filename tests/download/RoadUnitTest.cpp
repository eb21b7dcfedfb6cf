// The pure pieces of the download and the installation, on their own.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "AnalyticsEvent.h"
#include "BlockWrite.h"
#include "DownloadMessages.h"
#include "DownloadProgress.h"
#include "DownloadUrl.h"
#include "HttpAnswer.h"
#include "InstallerCommandLine.h"
#include "PackFiles.h"
#include "PrivateFolder.h"
#include "ProxyStateMemo.h"
#include "RelaunchPacer.h"
#include "SegmentPlan.h"
#include "WaitingCompletions.h"

TEST(DownloadUrl, SplitsHostAndPathWithoutTheLeadingSlash) {
    std::wstring strHost = L"old";
    std::wstring strObject = L"old";
    ASSERT_TRUE(SplitDownloadUrl(L"https://h/d/f.exe", strHost, strObject));
    EXPECT_EQ(L"h", strHost);
    EXPECT_EQ(L"d/f.exe", strObject);
    ASSERT_TRUE(SplitDownloadUrl(L"http://download.example:8080/a/b.exe?x=1", strHost, strObject));
    EXPECT_EQ(L"download.example:8080", strHost);  // a port is not separated
    EXPECT_EQ(L"a/b.exe?x=1", strObject);
}

TEST(DownloadUrl, RefusesAnAddressWithoutPathOrScheme) {
    std::wstring strHost = L"kept";
    std::wstring strObject = L"kept";
    EXPECT_FALSE(SplitDownloadUrl(L"https://localhost", strHost, strObject));
    EXPECT_FALSE(SplitDownloadUrl(L"ftp://host/file.exe", strHost, strObject));
    EXPECT_FALSE(SplitDownloadUrl(L"", strHost, strObject));
    EXPECT_EQ(L"kept", strHost);
    EXPECT_EQ(L"kept", strObject);
}

TEST(DownloadUrl, BaseAndFileNames) {
    std::wstring strBase;
    ASSERT_TRUE(DownloadBaseName(L"https://h/korvix/setup.exe", strBase));
    EXPECT_EQ(L"setup.", strBase);
    EXPECT_EQ(L"setup.exe", DownloadFileName(L"https://h/korvix/setup.exe"));
    // The query stays part of the name: the move of such a file then fails.
    EXPECT_EQ(L"setup.exe?x=1", DownloadFileName(L"https://h/setup.exe?x=1"));
    // A dot only in the host or in a folder gives no name.
    EXPECT_FALSE(DownloadBaseName(L"https://download.example/download/setup", strBase));
    EXPECT_FALSE(DownloadBaseName(L"https://h/k.d/setup", strBase));
    EXPECT_FALSE(DownloadBaseName(L"setup.exe", strBase));
}

TEST(SegmentPlan, FortySegmentsTheLastTakingTheRemainder) {
    SegmentInfo segments[SEGMENT_COUNT];
    PlanSegments(4000039, segments);
    for (int i = 0; i < 39; ++i) {
        EXPECT_EQ(i, segments[i].nId);
        EXPECT_EQ(static_cast<DWORD>(i) * 100000, segments[i].nOffset);
        EXPECT_EQ(100000u, segments[i].nLength);
        EXPECT_EQ(0u, segments[i].nReceived);
        EXPECT_EQ(nullptr, segments[i].pBuffer);
    }
    EXPECT_EQ(3900000u, segments[39].nOffset);
    EXPECT_EQ(100039u, segments[39].nLength);

    PlanSegments(7, segments);  // under 40 bytes: 39 empty ranges, then 7
    EXPECT_EQ(0u, segments[0].nLength);
    EXPECT_EQ(0u, segments[39].nOffset);
    EXPECT_EQ(7u, segments[39].nLength);
}

TEST(SegmentPlan, RangeHeaderResumesAfterTheBytesReceived) {
    SegmentInfo segment = {3, 300000, 100000, 0, nullptr};
    EXPECT_EQ(L"Range:bytes=300000-399999", RangeHeader(segment));
    segment.nReceived = 65536;
    EXPECT_EQ(L"Range:bytes=365536-399999", RangeHeader(segment));
}

TEST(DownloadProgress, TheDownloadFillsEightyPercent) {
    EXPECT_EQ(20, DownloadPosition(1000000, 4000000));
    EXPECT_EQ(80, DownloadPosition(4000000, 4000000));
    EXPECT_EQ(81, DownloadPosition(43, 43));
    EXPECT_EQ(0, DownloadPosition(0, 4000000));
    // 2,000,000,000 * 10 would wrap in 32 bits.
    EXPECT_EQ(80, DownloadPosition(2000000000u, 2000000000u));
    EXPECT_EQ(40, DownloadPosition(1000000000u, 2000000000u));
}

TEST(DownloadProgress, TextIsWaitPercentFinish) {
    EXPECT_EQ(L"Installing, please wait(45% finished.)",
              FormatProgressText(L"Installing, please wait(", 45, L"finished.)"));
    EXPECT_EQ(L"a0% b", FormatProgressText(L"a", 0, L"b"));
}

TEST(HttpAnswer, ContentLengthMustBeAPlannableNumber) {
    DWORD n = 0;
    EXPECT_TRUE(ParseContentLength(L"6000037", n));
    EXPECT_EQ(6000037u, n);
    EXPECT_TRUE(ParseContentLength(L"2147483647", n));
    EXPECT_FALSE(ParseContentLength(L"2147483648", n));
    EXPECT_FALSE(ParseContentLength(L"99999999999999999999", n));
    EXPECT_FALSE(ParseContentLength(L"0", n));
    EXPECT_FALSE(ParseContentLength(L"", n));
    EXPECT_FALSE(ParseContentLength(L"12abc", n));
    EXPECT_FALSE(ParseContentLength(L"-5", n));
}

TEST(HttpAnswer, OnlyTheRequestedRangeCounts) {
    EXPECT_TRUE(IsRequestedRange(L"bytes 300000-399999/4000000", 300000, 399999, 4000000));
    EXPECT_TRUE(IsRequestedRange(L"bytes 0-9/*", 0, 9, 4000000));
    EXPECT_FALSE(IsRequestedRange(L"bytes 300000-399998/4000000", 300000, 399999, 4000000));
    EXPECT_FALSE(IsRequestedRange(L"bytes 0-3999999/4000000", 300000, 399999, 4000000));
    EXPECT_FALSE(IsRequestedRange(L"bytes */4000000", 300000, 399999, 4000000));
    EXPECT_FALSE(IsRequestedRange(L"", 0, 9, 10));
    EXPECT_FALSE(IsRequestedRange(L"bytes 0-9/10 junk", 0, 9, 10));
    // The right bytes of another version of the file (replaced meanwhile).
    EXPECT_FALSE(IsRequestedRange(L"bytes 300000-399999/4000001", 300000, 399999, 4000000));
    EXPECT_FALSE(IsRequestedRange(L"bytes 0-9/", 0, 9, 10));
    EXPECT_TRUE(IsSuccessStatus(200));
    EXPECT_FALSE(IsSuccessStatus(404));
    EXPECT_FALSE(IsSuccessStatus(302));
}

// The download folder's own descriptor is private; one that lets anyone
// else write, delete or change it, or has another owner or no list, is not.
TEST(PrivateFolder, OnlyAdministratorsAndSystemMayWrite) {
    auto isPrivate = [](const wchar_t* pszSddl) {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(pszSddl, SDDL_REVISION_1,
                                                                         &pDescriptor, nullptr))
            << pszSddl;
        const bool bPrivate = pDescriptor && IsPrivateDescriptor(pDescriptor);
        LocalFree(pDescriptor);
        return bPrivate;
    };
    EXPECT_TRUE(isPrivate(kPrivateFolderSddl));
    EXPECT_TRUE(isPrivate(L"O:SYD:P(A;OICI;FA;;;SY)(A;;0x1200a9;;;WD)(D;;FA;;;AN)"));
    EXPECT_FALSE(isPrivate(L"O:BUD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"));  // a user owns it
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)"));  // users modify
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x2;;;IU)"));  // may add files
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;;WD;;;WD)"));  // may change the list
    // No list at all lets everyone in.
    SECURITY_DESCRIPTOR open = {};
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD cbAdmins = sizeof(admins);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &cbAdmins));
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&open, admins, FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
    EXPECT_FALSE(IsPrivateDescriptor(&open));
}

TEST(InstallerCommandLine, SilentSwitchesAndTheQuotedFolder) {
    EXPECT_EQ(L" /verysilent /velmora_down /path=\"C:\\Program Files (x86)\"",
              InstallerCommandLine(L"C:\\Program Files (x86)"));
    EXPECT_EQ(L" /verysilent /velmora_down /path=\"D:\\apps\\\"", InstallerCommandLine(L"D:\\apps\\"));
}

TEST(AnalyticsEvent, ClientIdTextHasALowerCaseThirdGroup) {
    const GUID guid = {0x0A1B2C3D, 0xABCD, 0xEF12, {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 0x18}};
    std::string strId = FormatClientId(guid);
    EXPECT_EQ("0A1B2C3D-ABCD-ef12-A1B2-C3D4E5F60718", strId);
    EXPECT_EQ(36u, strId.size());
}

TEST(AnalyticsEvent, UrlOfNinePiecesAndItsSplit) {
    std::wstring strUrl = BuildEventUrl(L"https://collect.example/collect?v=1&t=event&tid=",
                                        L"UA-40925113-07", L"ID", L"Velmora Korvix",
                                        L" (Windows version)&ea=Downloader_Installed");
    EXPECT_EQ(L"https://collect.example/collect?v=1&t=event&tid=UA-40925113-07&cid=ID"
              L"&ec=Velmora Korvix (Windows version)&ea=Downloader_Installed&el=ID",
              strUrl);
    std::wstring strHost;
    std::wstring strObject;
    SplitEventUrl(strUrl, strHost, strObject);
    EXPECT_EQ(L"collect.example", strHost);
    EXPECT_EQ(0u, strObject.find(L"collect?v=1&t=event&tid=UA-40925113-07&cid=ID&ec="));
}

TEST(ProxyStateMemo, OneDetectionServesTheRequestsOfTheNextTwoSeconds) {
    CProxyStateMemo memo;
    bool bProxy = true;
    EXPECT_FALSE(memo.Lookup(5000, bProxy));  // nothing detected yet
    memo.Remember(5000, false);
    ASSERT_TRUE(memo.Lookup(5000, bProxy));
    EXPECT_FALSE(bProxy);  // "no proxy" is an answer too, not "unknown"
    ASSERT_TRUE(memo.Lookup(6999, bProxy));
    EXPECT_FALSE(memo.Lookup(7000, bProxy));  // stale: detect again
    EXPECT_FALSE(memo.Lookup(4000, bProxy));  // a clock behind the moment
    memo.Remember(9000, true);
    ASSERT_TRUE(memo.Lookup(9001, bProxy));
    EXPECT_TRUE(bProxy);
}

TEST(ProxyStateMemo, TheTickCountWrapping) {
    CProxyStateMemo memo;
    bool bProxy = false;
    memo.Remember(0xFFFFFF00, true);  // 49.7 days after boot
    ASSERT_TRUE(memo.Lookup(0x100, bProxy));
    EXPECT_TRUE(bProxy);
    EXPECT_FALSE(memo.Lookup(0x100 + CProxyStateMemo::kLifetimeMs, bProxy));
}

// One transport's 42 tries take about 40 s: the pauses double to a second
// and stay there; a progress report makes them short again; the ids come
// out in the order they failed.
TEST(RelaunchPacer, PausesGrowToASecondAndProgressStartsThemAgain) {
    CRelaunchPacer pacer;
    EXPECT_TRUE(pacer.Queue(41));
    UINT nTotalMs = 0;
    std::vector<UINT> vecFirst;
    for (int i = 0; i < 41; ++i) {
        UINT nPause = pacer.NextPauseMs();
        nTotalMs += nPause;
        if (i < 4) {
            vecFirst.push_back(nPause);
        }
        int nId = -1;
        ASSERT_TRUE(pacer.Take(nId));
        EXPECT_EQ(41, nId);
        EXPECT_TRUE(pacer.Queue(41));
    }
    EXPECT_EQ((std::vector<UINT>{250, 500, 1000, 1000}), vecFirst);
    EXPECT_EQ(39750u, nTotalMs);
    pacer.OnProgress();
    EXPECT_EQ(250u, pacer.NextPauseMs());

    CRelaunchPacer segments;
    EXPECT_TRUE(segments.Queue(7));
    EXPECT_FALSE(segments.Queue(3)) << "the timer runs already";
    int nFirst = -1, nSecond = -1, nNone = -1;
    EXPECT_TRUE(segments.Take(nFirst) && segments.Take(nSecond));
    EXPECT_EQ(7, nFirst);
    EXPECT_EQ(3, nSecond);
    EXPECT_FALSE(segments.Take(nNone));
    segments.Queue(5);
    segments.Reset();
    EXPECT_TRUE(segments.Empty());
    EXPECT_EQ(250u, segments.NextPauseMs());
}

TEST(BlockWrite, SegmentsLargerThanABlockLandWholeAndInOrder) {
    const std::wstring strPath = MakeScratchFolder(L"BlockWrite") + L"\\segments.down";
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    // Two segments: one of two blocks and a few bytes, one under a block.
    std::string strFirst(2 * WRITE_BLOCK_SIZE + 3, '\0');
    std::string strSecond(1000, '\0');
    for (size_t i = 0; i < strFirst.size(); ++i) {
        strFirst[i] = static_cast<char>(i * 7 + i / 4096);
    }
    for (size_t i = 0; i < strSecond.size(); ++i) {
        strSecond[i] = static_cast<char>(255 - i);
    }
    const BYTE* pFirst = reinterpret_cast<const BYTE*>(strFirst.data());
    const BYTE* pSecond = reinterpret_cast<const BYTE*>(strSecond.data());
    DWORD dwError = 0;
    EXPECT_TRUE(WriteInBlocks(hFile, pFirst, static_cast<DWORD>(strFirst.size()), dwError));
    EXPECT_TRUE(WriteInBlocks(hFile, pSecond, 0, dwError));  // nothing to write
    EXPECT_TRUE(WriteInBlocks(hFile, pSecond, static_cast<DWORD>(strSecond.size()), dwError));
    CloseHandle(hFile);
    EXPECT_TRUE(ReadWholeFile(strPath) == strFirst + strSecond);
}

TEST(BlockWrite, AFailedCallReportsItsError) {
    const std::wstring strPath = MakeScratchFolder(L"BlockWriteFails") + L"\\readonly.down";
    WriteWholeFile(strPath, std::string());
    // Opened for reading only: every write is refused.
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    std::vector<BYTE> vecData(WRITE_BLOCK_SIZE + 1, 1);
    DWORD dwError = 0;
    EXPECT_FALSE(WriteInBlocks(hFile, vecData.data(), static_cast<DWORD>(vecData.size()), dwError));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), dwError);
    CloseHandle(hFile);
}

namespace {

// A message-only window that notes each message it is given, as "number/lParam".
std::vector<std::string> g_vecHandled;

LRESULT CALLBACK NotingProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg >= WM_USER) {
        g_vecHandled.push_back(std::to_string(uMsg) + "/" + std::to_string(lParam));
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND NewNotingWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = NotingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvixNotingWindow";
    RegisterClassW(&wc);  // a second registration fails harmlessly
    return CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

TEST(WaitingCompletions, TakenAheadOfTheByteReportsWhileEverythingElseKeepsItsPlace) {
    HWND hWnd = NewNotingWindow();
    HWND hOther = NewNotingWindow();
    ASSERT_TRUE(hWnd && hOther);
    g_vecHandled.clear();
    PostMessageW(hWnd, WM_DOWN_PROGRESS, 0, 1);
    PostMessageW(hWnd, WM_SEGMENT_COMPLETE, 0, 3);
    PostMessageW(hWnd, WM_DOWN_PROGRESS, 0, 2);
    PostMessageW(hWnd, WM_DOWN_ERROR, 0, 7);  // a failure stays behind its byte reports
    PostMessageW(hWnd, WM_UNION_FILE_COMPLETE, 0, 2);
    PostMessageW(hOther, WM_SEGMENT_COMPLETE, 0, 9);  // another window's stays queued
    PostMessageW(hWnd, WM_SEGMENT_COMPLETE, 0, 5);
    PostMessageW(hWnd, WM_DOWN_PROGRESS, 0, 3);

    EXPECT_EQ(3, DispatchWaitingCompletions(hWnd));
    EXPECT_EQ((std::vector<std::string>{"1226/3", "1226/5", "1229/2"}), g_vecHandled);

    g_vecHandled.clear();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_EQ((std::vector<std::string>{"1224/1", "1224/2", "1227/7", "1226/9", "1224/3"}),
              g_vecHandled);
    EXPECT_EQ(0, DispatchWaitingCompletions(hWnd));  // nothing waiting: nothing taken
    DestroyWindow(hWnd);
    DestroyWindow(hOther);
}
