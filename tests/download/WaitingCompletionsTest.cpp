// Completion reports taken ahead of the byte reports.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadMessages.h"
#include "WaitingCompletions.h"

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
    return CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                         nullptr);
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
