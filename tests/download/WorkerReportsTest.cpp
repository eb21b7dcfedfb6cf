// The workers' reports against a window queue that does not always take
// them: a final report arrives once, however often its post fails first, and
// no byte of a transfer goes unreported.

#include <windows.h>

#include <gtest/gtest.h>

#include "DownloadMessages.h"
#include "WorkerReports.h"

namespace {

// A queue that refuses the first g_nRefusals posts, and what it took.
int g_nRefusals = 0;
int g_nTaken = 0;
DWORD g_nBytesTaken = 0;
BOOL WINAPI FlakyPost(HWND /*hWnd*/, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (g_nRefusals > 0) {
        --g_nRefusals;
        return FALSE;
    }
    ++g_nTaken;
    if (uMsg == WM_DOWN_PROGRESS && wParam == 0) {
        g_nBytesTaken += static_cast<DWORD>(lParam);
    }
    return TRUE;
}

HWND NewWindow() {
    return CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

}  // namespace

TEST(WorkerReports, AFinalReportWhosePostsFailArrivesOnce) {
    const HWND hWnd = NewWindow();
    g_nRefusals = 3;
    g_nTaken = 0;
    EXPECT_TRUE(PostFinalReport(hWnd, WM_SEGMENT_COMPLETE, 0, 5, FlakyPost));
    EXPECT_EQ(1, g_nTaken);
    EXPECT_EQ(0, g_nRefusals);
    // Nobody left to take it: the worker gives up instead of waiting for good.
    DestroyWindow(hWnd);
    g_nRefusals = 1000;
    EXPECT_FALSE(PostFinalReport(hWnd, WM_SEGMENT_COMPLETE, 0, 5, FlakyPost));
    EXPECT_EQ(999, g_nRefusals);
}

// Reads of a transfer close together: the first at once, the rest
// together, and a refused report's bytes go with a later one.
TEST(WorkerReports, ByteReportsCarryEveryByte) {
    const HWND hWnd = NewWindow();
    g_nRefusals = 0;
    g_nTaken = 0;
    g_nBytesTaken = 0;
    CByteReporter bytes(hWnd, FlakyPost);
    for (int i = 0; i < 1000; ++i) {
        bytes.Stored(16384);
    }
    EXPECT_GE(g_nTaken, 1);
    EXPECT_LT(g_nTaken, 100) << "a report per read";
    g_nRefusals = 2;
    bytes.Flush();
    EXPECT_EQ(1000u * 16384, g_nBytesTaken);
    bytes.Flush();  // nothing left: nothing posted
    EXPECT_EQ(1000u * 16384, g_nBytesTaken);
    DestroyWindow(hWnd);
}
