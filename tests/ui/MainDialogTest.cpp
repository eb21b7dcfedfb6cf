#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppModule.h"
#include "InitDialogResult.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "StartUp.h"

namespace {

const wchar_t kPersisted[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility "
    L"Assistant\\Persisted";

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Press(HWND hButton) {
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(hButton, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

RECT WindowRect(HWND hWnd) {
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return rc;
}

// The real dialog in this process, as RunMainDialog makes it.
class MainDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ExtractLanguagePacks();
        InitLanguage();
        _Module.Init(nullptr, GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        _Module.AddMessageLoop(&m_loop);
        m_pDlg.reset(new CMainDlg);
        CInitDialogResult initResult;
        ASSERT_NE(nullptr, m_pDlg->Create(nullptr, 0));
        m_lInitResult = initResult.Get();
        m_pDlg->ShowWindow(SW_SHOWNORMAL);
        Pump();
    }
    void TearDown() override {
        if (m_pDlg->m_hWnd) {
            Shell_NotifyIconW(NIM_DELETE, &m_pDlg->m_nid);
            m_pDlg->CloseDialog(1000);
        }
        MSG msg;
        PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        m_pDlg.reset();
        _Module.RemoveMessageLoop();
    }
    HWND Item(int nId) { return m_pDlg->GetDlgItem(nId); }

    CMessageLoop m_loop;
    std::unique_ptr<CMainDlg> m_pDlg;
    LRESULT m_lInitResult = -1;
};

}  // namespace

TEST_F(MainDialog, OptionsToggleChangesTheHeightOnlyAndBack) {
    RECT rcBefore = WindowRect(m_pDlg->m_hWnd);
    EXPECT_EQ(650, rcBefore.right - rcBefore.left);
    EXPECT_EQ(360, rcBefore.bottom - rcBefore.top);
    Press(Item(IDC_CHK_OPTIONS));
    RECT rcOpen = WindowRect(m_pDlg->m_hWnd);
    EXPECT_EQ(434, rcOpen.bottom - rcOpen.top);
    EXPECT_EQ(rcBefore.left, rcOpen.left);
    EXPECT_EQ(rcBefore.top, rcOpen.top);
    Press(Item(IDC_CHK_OPTIONS));
    RECT rcClosed = WindowRect(m_pDlg->m_hWnd);
    EXPECT_TRUE(EqualRect(&rcBefore, &rcClosed));
}

TEST_F(MainDialog, TickingHidesTheWarningAndUntickingLeavesItHidden) {
    m_pDlg->m_lblAgree.ShowWindow(SW_SHOW);  // as a press on install without agreeing does
    Press(Item(IDC_CHK_AGREE));
    EXPECT_EQ(1, m_pDlg->m_chkAgree.GetSelectState());
    EXPECT_FALSE(IsWindowVisible(m_pDlg->m_lblAgree));
    Press(Item(IDC_CHK_AGREE));
    EXPECT_EQ(0, m_pDlg->m_chkAgree.GetSelectState());
    EXPECT_FALSE(IsWindowVisible(m_pDlg->m_lblAgree));
}

TEST_F(MainDialog, InitialisationPlacesTheLicencePage) {
    EXPECT_EQ(TRUE, m_lInitResult);
    struct {
        int nId;
        RECT rc;  // x, y, w, h in client coordinates
        bool bVisible;
    } const cases[] = {
        {IDC_BTN_CLOSE, {620, 7, 20, 20}, true},      {IDC_BTN_MIN, {590, 7, 20, 20}, true},
        {IDC_BTN_INSTALL, {241, 195, 168, 46}, true}, {IDC_CHK_AGREE, {20, 329, 14, 14}, true},
        {IDC_BTN_LICENCE, {42, 329, 390, 15}, true},  {IDC_CHK_OPTIONS, {441, 329, 180, 12}, true},
        {IDC_LBL_AGREE, {20, 344, 350, 15}, false},   {IDC_BTN_BROWSE, {481, 381, 90, 32}, true},
        {IDC_BTN_START, {241, 195, 168, 46}, false},  {IDC_BTN_HIDE, {545, 312, 57, 26}, false},
        {IDC_PROGRESS, {48, 312, 470, 6}, false},     {IDC_LBL_STATUS, {49, 326, 350, 15}, false},
        {IDC_EDIT_PATH, {150, 388, 320, 22}, true},
    };
    for (const auto& c : cases) {
        HWND hCtl = Item(c.nId);
        RECT rc = WindowRect(hCtl);
        MapWindowPoints(nullptr, m_pDlg->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(c.rc.left, rc.left) << c.nId;
        EXPECT_EQ(c.rc.top, rc.top) << c.nId;
        EXPECT_EQ(c.rc.right, rc.right - rc.left) << c.nId;
        EXPECT_EQ(c.rc.bottom, rc.bottom - rc.top) << c.nId;
        EXPECT_EQ(c.bVisible, (GetWindowLongW(hCtl, GWL_STYLE) & WS_VISIBLE) != 0) << c.nId;
    }
    EXPECT_EQ(GetLanStr(L"STR_AGREE"), m_pDlg->m_lblAgree.GetWindowText());
    EXPECT_EQ(GetLanStr(L"STR_INSTALL_PATH"), CWindow(Item(IDC_LBL_PATH)).GetWindowText());
    // The default folder is the 32-bit Program Files, shown in the path box.
    const wchar_t* pszProgramFiles = _wgetenv(L"ProgramFiles(x86)");
    ASSERT_NE(nullptr, pszProgramFiles);
    EXPECT_EQ(pszProgramFiles, g_strInstallPath);
    EXPECT_EQ(g_strInstallPath, CWindow(Item(IDC_EDIT_PATH)).GetWindowText());
    EXPECT_NE(0, m_pDlg->GetStyle() & WS_MINIMIZEBOX);
    EXPECT_EQ(0, m_pDlg->GetStyle() & (WS_CAPTION | WS_THICKFRAME));
}

// At 150 % and 200 % every control sits at its 96-DPI place scaled edge by
// edge (rounded to the nearest pixel), so that the window is 975 x 540 and
// 1300 x 720 and the bar still starts on the hide button's top edge.
TEST_F(MainDialog, EveryPlaceScalesWithTheDpi) {
    const struct {
        int nId;
        int x, y, w, h;
    } places[] = {
        {IDC_BTN_CLOSE, 620, 7, 20, 20},      {IDC_BTN_INSTALL, 241, 195, 168, 46},
        {IDC_CHK_AGREE, 20, 329, 14, 14},     {IDC_BTN_LICENCE, 42, 329, 390, 15},
        {IDC_CHK_OPTIONS, 441, 329, 180, 12}, {IDC_BTN_BROWSE, 481, 381, 90, 32},
        {IDC_BTN_HIDE, 545, 312, 57, 26},     {IDC_PROGRESS, 48, 312, 470, 6},
        {IDC_LBL_STATUS, 49, 326, 350, 15},   {IDC_EDIT_PATH, 150, 388, 320, 22},
        {IDC_LBL_PATH, 42, 388, 100, 32},
    };
    for (UINT nDpi : {144u, 192u}) {
        auto scaled = [nDpi](int n) { return static_cast<int>((2 * n * nDpi + 96) / 192); };
        m_pDlg->m_scale = CDpiScale(nDpi);
        m_pDlg->ResizeTo(kPageHeight);
        m_pDlg->LayOut();
        RECT rcClient = {};
        m_pDlg->GetClientRect(&rcClient);
        EXPECT_EQ(scaled(650), rcClient.right) << nDpi;
        EXPECT_EQ(scaled(360), rcClient.bottom) << nDpi;
        for (const auto& p : places) {
            RECT rc = WindowRect(Item(p.nId));
            MapWindowPoints(nullptr, m_pDlg->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(scaled(p.x), rc.left) << p.nId << " at " << nDpi;
            EXPECT_EQ(scaled(p.y), rc.top) << p.nId << " at " << nDpi;
            EXPECT_EQ(scaled(p.x + p.w), rc.right) << p.nId << " at " << nDpi;
            EXPECT_EQ(scaled(p.y + p.h), rc.bottom) << p.nId << " at " << nDpi;
        }
        EXPECT_EQ(WindowRect(Item(IDC_BTN_HIDE)).top, WindowRect(Item(IDC_PROGRESS)).top);
    }
    EXPECT_EQ(975, MulDiv(650, 144, 96));
    EXPECT_EQ(1300, MulDiv(650, 192, 96));
}

TEST_F(MainDialog, CloseRequestWhileInstallingOnlyHidesTheWindow) {
    m_pDlg->m_nInstallState = CMainDlg::kPageInstalling;
    SendMessageW(m_pDlg->m_hWnd, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_TRUE(IsWindow(m_pDlg->m_hWnd));
    EXPECT_FALSE(IsWindowVisible(m_pDlg->m_hWnd));
    // No icon was added: there is none to delete.
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &m_pDlg->m_nid));
}

TEST_F(MainDialog, HideAddsTheIconAndOnlyAButtonReleaseOnItRestores) {
    const NOTIFYICONDATAW& nid = m_pDlg->m_nid;
    EXPECT_EQ(sizeof(void*) == 4 ? 956u : 976u, nid.cbSize);  // the full record
    EXPECT_EQ(m_pDlg->m_hWnd, nid.hWnd);
    EXPECT_EQ(1u, nid.uID);
    EXPECT_EQ(0x17u, nid.uFlags);
    EXPECT_EQ(1124u, nid.uCallbackMessage);
    EXPECT_NE(nullptr, nid.hIcon);
    EXPECT_EQ(GetLanStr(L"STR_PROJECT_NAME") + GetLanStr(L"STR_DOWNLOADING"), nid.szTip);
    EXPECT_EQ(GetLanStr(L"STR_BEING_INSTALLED"), nid.szInfo);
    EXPECT_EQ(GetLanStr(L"STR_PROJECT_NAME"), nid.szInfoTitle);

    m_pDlg->m_nInstallState = CMainDlg::kPageInstalling;
    Press(Item(IDC_BTN_HIDE));
    EXPECT_FALSE(IsWindowVisible(m_pDlg->m_hWnd));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &m_pDlg->m_nid)) << "no icon was added";
    for (LPARAM lMouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        SendMessageW(m_pDlg->m_hWnd, WM_TRAY_NOTIFY, 1, lMouse);
        EXPECT_FALSE(IsWindowVisible(m_pDlg->m_hWnd)) << lMouse;
    }
    SendMessageW(m_pDlg->m_hWnd, WM_TRAY_NOTIFY, 2, WM_LBUTTONUP);  // another icon
    EXPECT_FALSE(IsWindowVisible(m_pDlg->m_hWnd));
    SendMessageW(m_pDlg->m_hWnd, WM_TRAY_NOTIFY, 1, WM_RBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(m_pDlg->m_hWnd));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &m_pDlg->m_nid)) << "the icon was left behind";
}

TEST_F(MainDialog, SlideshowStepsOneTwoThreeOne) {
    ASSERT_EQ(3u, m_pDlg->m_vecSlides.size());
    m_pDlg->m_nInstallState = CMainDlg::kPageInstalling;
    EXPECT_EQ(m_pDlg->m_vecSlides[0].Get(), m_pDlg->m_pCurSlide);
    for (int i : {1, 2, 0, 1}) {
        SendMessageW(m_pDlg->m_hWnd, WM_TIMER, kSlideTimerId, 0);
        EXPECT_EQ(m_pDlg->m_vecSlides[i].Get(), m_pDlg->m_pCurSlide);
    }
}

TEST_F(MainDialog, CloseDialogPostsTheExitCodeAndDestroysTheWindow) {
    HWND hWnd = m_pDlg->m_hWnd;
    m_pDlg->CloseDialog(1000);
    EXPECT_FALSE(IsWindow(hWnd));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(1000u, msg.wParam);
    EXPECT_EQ(nullptr, m_pDlg->m_imgLogo.Get());
    EXPECT_TRUE(m_pDlg->m_vecSlides.empty());
}

TEST(StartUp, NoDialogTemplateMeansExitCodeZero) {
    HINSTANCE hSaved = _Module.m_hInst;
    _Module.m_hInst = GetModuleHandleW(L"kernel32.dll");  // holds no template 129
    EXPECT_EQ(0, RunMainDialog(GetCommandLineW(), SW_SHOWNORMAL));
    _Module.m_hInst = hSaved;
}

TEST(StartUp, CompatibilityFlagOnlyUnderAnExistingPersistedKey) {
    RegDeleteKeyW(HKEY_CURRENT_USER, kPersisted);
    EXPECT_FALSE(SetCompatibilityAssistantFlag());
    HKEY hKey = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kPersisted, 0, KEY_READ, &hKey))
        << "the key must not be created";

    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kPersisted, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    EXPECT_TRUE(SetCompatibilityAssistantFlag());
    EXPECT_TRUE(SetCompatibilityAssistantFlag());  // twice: still one value
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    DWORD dwType = 0, dwData = 0, cbData = sizeof(dwData);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(hKey, szPath, nullptr, &dwType,
                                              reinterpret_cast<BYTE*>(&dwData), &cbData));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType);
    EXPECT_EQ(1u, dwData);
    DWORD nValues = 0;
    RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues, nullptr,
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(1u, nValues);
    RegCloseKey(hKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kPersisted);
}

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    int nResult = RUN_ALL_TESTS();
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return nResult;
}
