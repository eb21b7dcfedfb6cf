// main_dialog_host: the real main dialog, made and run as the program makes
// and runs it, for tests that drive it with real input and read the screen.
// Commands on stdin, answers on stdout:
//   installing   puts the dialog on the installing page -> "page 1"
//   state        -> "visible V icon I" (window shown, tray icon present)
//   exchange     reads the path box back into the install folder
//                -> "exchange R focus F path P" (R the result, F 1 when
//                the path box has the focus)
//   overstate    from now on the path box announces more text than it
//                gives, as an ANSI-wrapped control in a DBCS locale may
//   newtray      the notification area is made anew (its icons gone, then
//                TaskbarCreated) -> "visible V icon I"
//   noicon       the tray record is left empty, as by an early return from
//                the dialog's set-up -> "noicon"
//   end          the program ends as it does, whatever the window's state
//                -> "ended icon I" (I: its icon is still there)
//   quit         (or the end of stdin) ends it.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commctrl.h>
#include <shellapi.h>

#include <process.h>

#include <cstdio>
#include <cstring>

#include "AppModule.h"
#include "LanguagePacks.h"
#include "MainDlg.h"

namespace {

enum { kInstalling = 1, kState, kExchange, kOverstate, kNewTray, kNoIcon, kEnd, kQuit };

DWORD g_dwUiThread = 0;
WNDPROC g_pfnEditProc = nullptr;

unsigned __stdcall ReadCommandsThread(void*) {
    const struct {
        const char* psz;
        WPARAM nCommand;
    } kCommands[] = {{"installing", kInstalling},
                     {"state", kState},
                     {"exchange", kExchange},
                     {"overstate", kOverstate},
                     {"newtray", kNewTray},
                     {"noicon", kNoIcon},
                     {"end", kEnd},
                     {"quit", kQuit}};
    char szLine[256];
    while (fgets(szLine, sizeof(szLine), stdin)) {
        szLine[strcspn(szLine, "\r\n")] = '\0';
        for (const auto& c : kCommands) {
            if (strcmp(szLine, c.psz) == 0) {
                PostThreadMessageW(g_dwUiThread, WM_APP, c.nCommand, 0);
            }
        }
    }
    PostThreadMessageW(g_dwUiThread, WM_APP, kQuit, 0);
    return 0;
}

LRESULT CALLBACK OverstatingEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = CallWindowProcW(g_pfnEditProc, hWnd, uMsg, wParam, lParam);
    return uMsg == WM_GETTEXTLENGTH ? lResult + 4 : lResult;
}

// A modification that changes nothing succeeds only for an icon that is there.
bool IconThere(NOTIFYICONDATAW nid) {
    nid.uFlags = NIF_TIP;
    return nid.hWnd && Shell_NotifyIconW(NIM_MODIFY, &nid);
}

// Handles the commands, which arrive as thread messages.
class CCommands : public CMessageFilter {
public:
    explicit CCommands(CMainDlg& dlg) : m_dlg(dlg) {}

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->hwnd || pMsg->message != WM_APP) {
            return FALSE;
        }
        switch (pMsg->wParam) {
            case kInstalling:
                // The view of a started installation, without its download.
                m_dlg.ShowInstalling();
                m_dlg.KillTimer(kSlideTimerId);  // the first slide stays
                printf("page %d\n", m_dlg.m_nInstallState);
                break;
            case kState:
                printf("visible %d icon %d\n", m_dlg.IsWindowVisible() ? 1 : 0,
                       IconThere(m_dlg.m_nid) ? 1 : 0);
                break;
            case kNewTray: {
                Shell_NotifyIconW(NIM_DELETE, &m_dlg.m_nid);
                SendMessageW(m_dlg.m_hWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
                printf("visible %d icon %d\n", m_dlg.IsWindowVisible() ? 1 : 0,
                       IconThere(m_dlg.m_nid) ? 1 : 0);
                break;
            }
            case kNoIcon:
                m_dlg.m_nid = NOTIFYICONDATAW{};
                printf("noicon\n");
                break;
            case kEnd: {
                const NOTIFYICONDATAW nid = m_dlg.m_nid;
                m_dlg.CloseDialog(0);
                printf("ended icon %d\n", IconThere(nid) ? 1 : 0);
                break;
            }
            case kExchange: {
                BOOL bResult = m_dlg.DoDataExchange(TRUE);
                printf("exchange %d focus %d path %ls\n", bResult,
                       GetFocus() == m_dlg.GetDlgItem(IDC_EDIT_PATH) ? 1 : 0,
                       g_strInstallPath.c_str());
                break;
            }
            case kOverstate:
                g_pfnEditProc = reinterpret_cast<WNDPROC>(
                    SetWindowLongPtrW(m_dlg.GetDlgItem(IDC_EDIT_PATH), GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(OverstatingEditProc)));
                printf("overstating\n");
                break;
            default:
                PostQuitMessage(0);
                break;
        }
        fflush(stdout);
        return TRUE;
    }

private:
    CMainDlg& m_dlg;
};

}  // namespace

int wmain() {
    CoInitialize(nullptr);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    ExtractLanguagePacks();
    InitLanguage();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    _Module.Init(nullptr, GetModuleHandleW(nullptr));
    g_dwUiThread = GetCurrentThreadId();

    int nResult = 1;
    {
        CMessageLoop loop;
        _Module.AddMessageLoop(&loop);
        CMainDlg dlg;
        CCommands commands(dlg);
        if (dlg.Create(nullptr, 0)) {
            loop.AddMessageFilter(&commands);
            dlg.ShowWindow(SW_SHOWNORMAL);
            RECT rc = {};
            dlg.GetWindowRect(&rc);
            printf("ready %ld %ld\n", rc.left, rc.top);
            fflush(stdout);
            CloseHandle(reinterpret_cast<HANDLE>(
                _beginthreadex(nullptr, 0, ReadCommandsThread, nullptr, 0, nullptr)));
            nResult = loop.Run();
            if (dlg.m_hWnd) {
                dlg.CloseDialog(0);
            }
        }
        _Module.RemoveMessageLoop();
    }
    _Module.Term();
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return nResult;
}
