// controls_host: the real skinned controls in a 600 x 260 popup at screen
// 100, 100, for tests that drive them with real input and read the screen.
// stdout: "command ID" per WM_COMMAND, "state ID N" for the toggles,
// "pos N" and "text T" in answer to stdin lines "pos N" and "text";
// "quit" (or the end of stdin) ends it.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DownProgressBarCtrl.h"
#include "EditImpl.h"
#include "ImageIds.h"
#include "OwnerDrawButton.h"
#include "PngImage.h"
#include "SelectStateButton.h"
#include "TestWindow.h"

namespace {

enum { kAppSetPos = 1, kAppGetText = 2, kAppQuit = 3 };

HWND g_hHost = nullptr;

unsigned __stdcall ReadCommandsThread(void*) {
    char szLine[256];
    while (fgets(szLine, sizeof(szLine), stdin)) {
        if (strncmp(szLine, "pos ", 4) == 0) {
            PostMessageW(g_hHost, WM_APP, kAppSetPos, atoi(szLine + 4));
        } else if (strncmp(szLine, "text", 4) == 0) {
            PostMessageW(g_hHost, WM_APP, kAppGetText, 0);
        } else if (strncmp(szLine, "quit", 4) == 0) {
            break;
        }
    }
    PostMessageW(g_hHost, WM_APP, kAppQuit, 0);
    return 0;
}

Gdiplus::Image* Load(UINT nId) {
    Gdiplus::Image* pImage = nullptr;
    DWORD dwLoadError = 0;
    if (!LoadPngImage(nId, L"PNG", &pImage, dwLoadError)) {
        fprintf(stderr, "controls_host: picture %u missing\n", nId);
        exit(1);
    }
    return pImage;  // lives until the process ends, as the buttons' do
}

void Say(const char* pszFormat, int a, int b = -1) {
    if (b < 0) {
        printf(pszFormat, a);
    } else {
        printf(pszFormat, a, b);
    }
    fflush(stdout);
}

}  // namespace

int main() {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        CTestWindow host(100, 100, 600, 260, L"Korvix controls host");
        g_hHost = host.m_hWnd;
        const DWORD kButton = BS_OWNERDRAW | WS_TABSTOP;

        COwnerDrawButton close, install;
        close.SetImages(g_hHost, {Load(239), Load(240), Load(239)});
        close.SubclassWindow(
            host.AddChild(L"BUTTON", 1000, kButton, WS_EX_TRANSPARENT, 10, 10, 20, 20));
        Gdiplus::Image* pInstall = Load(GetLocalizedImageId(333));
        install.SetImages(
            g_hHost, {pInstall, Load(GetLocalizedImageId(343)), Load(GetLocalizedImageId(323))});
        install.SubclassWindow(
            host.AddChild(L"BUTTON", 1002, kButton, WS_EX_TRANSPARENT, 60, 10, 168, 46));

        CSelectStateButton agree, options;
        agree.SetImages(g_hHost, {Load(215), Load(202)});
        agree.SubclassWindow(
            host.AddChild(L"BUTTON", 1003, kButton, WS_EX_TRANSPARENT, 260, 20, 14, 14));
        options.SetImages(g_hHost,
                          {Load(GetLocalizedImageId(283)), Load(GetLocalizedImageId(293))});
        options.SubclassWindow(
            host.AddChild(L"BUTTON", 1005, kButton, WS_EX_TRANSPARENT, 300, 20, 180, 12));

        CDownProgressBarCtrl progress;
        progress.SubclassWindow(host.AddChild(PROGRESS_CLASSW, 1010, 0, 0, 48, 120, 470, 6));
        progress.RoundCorners();
        progress.SetRange32(0, 100);
        progress.SetPos(0);

        CEditImpl edit;
        edit.SubclassWindow(
            host.AddChild(L"EDIT", 1009, WS_TABSTOP | ES_AUTOHSCROLL, 0, 48, 160, 320, 22));
        // A plain edit beside it, to show what a context menu looks like here.
        host.AddChild(L"EDIT", 1011, WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER, 0, 400, 160, 150, 22);

        host.m_onCommand = [&](WPARAM wParam) {
            int nId = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) {
                return;  // edit notifications
            }
            Say("command %d\n", nId);
            if (nId == 1003) {
                Say("state %d %d\n", nId, agree.GetSelectState());
            } else if (nId == 1005) {
                Say("state %d %d\n", nId, options.GetSelectState());
            }
        };
        host.m_onApp = [&](WPARAM wParam, LPARAM lParam) {
            if (wParam == kAppSetPos) {
                progress.SetPos(static_cast<int>(lParam));
                progress.UpdateWindow();
                Say("pos %d\n", progress.GetPos());
            } else if (wParam == kAppGetText) {
                std::wstring strText = edit.GetWindowText();
                printf("text %ls\n", strText.c_str());
                fflush(stdout);
            } else {
                PostQuitMessage(0);
            }
        };
        UINT nThreadId = 0;
        CloseHandle(reinterpret_cast<HANDLE>(
            _beginthreadex(nullptr, 0, ReadCommandsThread, nullptr, 0, &nThreadId)));
        printf("ready\n");
        fflush(stdout);

        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
