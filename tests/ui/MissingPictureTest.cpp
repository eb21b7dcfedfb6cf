// The real dialog in a program that lacks one of its pictures (the build
// makes one such program per picture below): its initialisation stops at
// that picture and says so, the half-built dialog is still made and shown,
// nothing is reported, and the program still ends the normal way.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <process.h>

#include <memory>

#include "AppModule.h"
#include "InitDialogResult.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "SingleInstance.h"
#include "StartUp.h"

namespace {

// The pictures left out, with how far the initialisation gets without each.
struct MissingCase {
    UINT nId;
    size_t nSlides;       // slides loaded before it stops
    bool bButtonsPlaced;  // the licence page's buttons were set up
};
const MissingCase kCases[] = {
    {214, 0, false},  // the product logo, second of the page's pictures
    {363, 1, false},  // the second slide
    {313, 3, true},   // the hide button's hover face, the last button picture
};

const MissingCase* MissingPicture() {
    const MissingCase* pFound = nullptr;
    for (const MissingCase& c : kCases) {
        if (!FindResourceW(nullptr, MAKEINTRESOURCEW(c.nId), L"PNG")) {
            EXPECT_EQ(nullptr, pFound) << "more than one picture missing";
            pFound = &c;
        }
    }
    return pFound;
}

bool PlacedAt(HWND hDlg, int nId, int x, int y, int w, int h) {
    RECT rc = {};
    GetWindowRect(GetDlgItem(hDlg, nId), &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc.left == x && rc.top == y && rc.right - rc.left == w && rc.bottom - rc.top == h;
}

// A visible dialog of the thread: the main dialog marks itself with its
// property, a message box does not.
struct DialogSearch {
    bool bBox;
    HWND hFound;
};

BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lParam) {
    DialogSearch* pSearch = reinterpret_cast<DialogSearch*>(lParam);
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0 &&
        (GetPropW(hWnd, kMainWindowProp) == nullptr) == pSearch->bBox) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD dwThreadId, bool bBox) {
    DialogSearch search = {bBox, nullptr};
    EnumThreadWindows(dwThreadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND WaitForDialog(DWORD dwThreadId, bool bBox) {
    for (int i = 0; i < 200; ++i) {
        if (HWND hWnd = FindDialog(dwThreadId, bBox)) {
            return hWnd;
        }
        Sleep(50);
    }
    return nullptr;
}

bool g_bDialogShown = false;
bool g_bAsked = false;

// What a user does: a close request to the shown dialog, then Yes. Without
// a dialog or a box it quits the loop, so the test never hangs.
unsigned __stdcall CloseAndConfirmThread(void* pThreadId) {
    DWORD dwUiThread = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pThreadId));
    HWND hDlg = WaitForDialog(dwUiThread, false);
    g_bDialogShown = hDlg != nullptr;
    HWND hBox = nullptr;
    if (hDlg) {
        PostMessageW(hDlg, WM_CLOSE, 0, 0);
        hBox = WaitForDialog(dwUiThread, true);
    }
    g_bAsked = hBox != nullptr;
    if (hBox) {
        PostMessageW(hBox, WM_COMMAND, IDYES, 0);
    } else {
        PostThreadMessageW(dwUiThread, WM_QUIT, 0, 0);
    }
    return 0;
}

}  // namespace

TEST(MissingPicture, InitialisationStopsThereLeavingTheRestAsTheTemplateHasIt) {
    const MissingCase* pCase = MissingPicture();
    ASSERT_NE(nullptr, pCase) << "this program lacks none of the pictures";
    CMessageLoop loop;
    _Module.AddMessageLoop(&loop);
    std::unique_ptr<CMainDlg> pDlg(new CMainDlg);
    LRESULT lInitResult = -1;
    {
        CInitDialogResult initResult;
        ASSERT_NE(nullptr, pDlg->Create(nullptr, 0)) << "the dialog must still be made";
        lInitResult = initResult.Get();
    }
    EXPECT_EQ(FALSE, lInitResult);
    pDlg->ShowWindow(SW_SHOWNORMAL);
    pDlg->UpdateWindow();  // paints with the pictures it has
    EXPECT_TRUE(pDlg->IsWindowVisible());

    // A picture that is not there is not reported.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, pDlg->m_hWnd, WM_DOWN_ERROR, WM_DOWN_ERROR, PM_REMOVE));

    EXPECT_EQ(pCase->nSlides, pDlg->m_vecSlides.size());
    HWND hDlg = pDlg->m_hWnd;
    EXPECT_EQ(pCase->bButtonsPlaced, PlacedAt(hDlg, IDC_BTN_CLOSE, 620, 7, 20, 20));
    EXPECT_EQ(pCase->bButtonsPlaced, PlacedAt(hDlg, IDC_BTN_START, 241, 195, 168, 46));
    EXPECT_EQ(
        pCase->bButtonsPlaced ? GetLanStr(L"STR_AGREE") : L"Please agree Velmora License Agreement",
        CWindow(GetDlgItem(hDlg, IDC_LBL_AGREE)).GetWindowText());
    // The steps after the hide button's pictures never run.
    EXPECT_FALSE(PlacedAt(hDlg, IDC_BTN_HIDE, 545, 312, 57, 26));
    EXPECT_TRUE(CWindow(GetDlgItem(hDlg, IDC_BTN_HIDE)).IsWindowVisible());
    EXPECT_FALSE(PlacedAt(hDlg, IDC_PROGRESS, 48, 312, 470, 6));
    EXPECT_EQ(nullptr, pDlg->m_editPath.m_hWnd);
    EXPECT_EQ(L"", CWindow(GetDlgItem(hDlg, IDC_EDIT_PATH)).GetWindowText());
    EXPECT_EQ(L"Installation Path:", CWindow(GetDlgItem(hDlg, IDC_LBL_PATH)).GetWindowText());
    EXPECT_EQ(0u, pDlg->m_nid.cbSize) << "the tray record was filled";

    pDlg->CloseDialog(kExitCodeNormal);
    EXPECT_FALSE(IsWindow(hDlg));
    PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    pDlg.reset();
    _Module.RemoveMessageLoop();
}

TEST(MissingPicture, TheHalfBuiltDialogAsksOnCloseAndEndsWithExitCode1000) {
    ASSERT_NE(nullptr, MissingPicture());
    UINT_PTR nUiThread = GetCurrentThreadId();
    HANDLE hThread = reinterpret_cast<HANDLE>(_beginthreadex(
        nullptr, 0, CloseAndConfirmThread, reinterpret_cast<void*>(nUiThread), 0, nullptr));
    ASSERT_NE(nullptr, hThread);
    EXPECT_EQ(kExitCodeNormal, RunMainDialog(GetCommandLineW(), SW_SHOWNORMAL));
    WaitForSingleObject(hThread, 20000);
    CloseHandle(hThread);
    EXPECT_TRUE(g_bDialogShown);
    EXPECT_TRUE(g_bAsked);
}

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    ExtractLanguagePacks();
    InitLanguage();
    _Module.Init(nullptr, GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    int nResult = RUN_ALL_TESTS();
    _Module.Term();
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return nResult;
}
