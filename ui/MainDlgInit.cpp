#include <windows.h>
#include <shlobj.h>
#include <crtdbg.h>

#include <utility>

#include "AppModule.h"
#include "DebugTrace.h"
#include "ImageIds.h"
#include "LanguagePacks.h"
#include "ShellFolder.h"
#include "MainDlg.h"
#include "PngImage.h"

CMainDlg* g_pMainDlg = nullptr;
std::wstring g_strInstallPath;

namespace {

const int kDialogWidth = 650;
const int kDialogHeight = 360;

// One picture button or toggle of the licence page and its pictures, in
// the order they are handed over. Localized pictures are base ids.
struct ButtonSetUp {
    int nId;
    UINT ids[3];
    size_t nCount;
    bool bLocalized;
    RECT rc;  // x, y, width, height
};

const ButtonSetUp kClose = {IDC_BTN_CLOSE, {239, 240, 239}, 3, false, {620, 7, 20, 20}};
const ButtonSetUp kMin = {IDC_BTN_MIN, {243, 244, 243}, 3, false, {590, 7, 20, 20}};
const ButtonSetUp kInstall = {IDC_BTN_INSTALL, {333, 343, 323}, 3, true, {241, 195, 168, 46}};
const ButtonSetUp kAgree = {IDC_CHK_AGREE, {215, 202}, 2, false, {20, 329, 14, 14}};
const ButtonSetUp kLicence = {IDC_BTN_LICENCE, {383, 383}, 2, true, {42, 329, 390, 15}};
const ButtonSetUp kOptions = {IDC_CHK_OPTIONS, {283, 293}, 2, true, {441, 329, 180, 12}};
const ButtonSetUp kBrowse = {IDC_BTN_BROWSE, {263, 273, 263}, 3, true, {481, 381, 90, 32}};
const ButtonSetUp kStart = {IDC_BTN_START, {403, 413, 393}, 3, true, {241, 195, 168, 46}};
const ButtonSetUp kHide = {IDC_BTN_HIDE, {303, 313, 303}, 3, true, {545, 312, 57, 26}};

void Place(CWindow wnd, const RECT& rc) {
    wnd.MoveWindow(rc.left, rc.top, rc.right, rc.bottom, TRUE);
}

}  // namespace

BOOL CMainDlg::LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage) {
    PngLoadFailure failure;
    if (::LoadPngImage(nId, pszType, ppImage, &failure)) {
        return TRUE;
    }
    if (failure.bReport) {
        PostMessage(WM_DOWN_ERROR, failure.dwError, DOWN_ERR_SYSTEM);
    }
    return FALSE;
}

// Loads a button's pictures into the dialog's keeping.
// bShareRepeats: an id that comes again reuses the first load.
template <class TButton>
static BOOL SetUpButton(CMainDlg& dlg, TButton& button, const ButtonSetUp& setUp,
                        bool bShareRepeats) {
    std::vector<Gdiplus::Image*> vecImages;
    for (size_t i = 0; i < setUp.nCount; ++i) {
        Gdiplus::Image* pImage = nullptr;
        for (size_t j = 0; bShareRepeats && j < i; ++j) {
            if (setUp.ids[j] == setUp.ids[i]) {
                pImage = vecImages[j];
            }
        }
        if (!pImage) {
            UINT nId = setUp.bLocalized ? GetLocalizedImageId(setUp.ids[i]) : setUp.ids[i];
            CGdiplusImage image;
            if (!dlg.LoadPngImage(nId, L"PNG", image.Receive())) {
                return FALSE;
            }
            pImage = image.Get();
            dlg.m_vecButtonImages.push_back(std::move(image));
        }
        vecImages.push_back(pImage);
    }
    button.SetImages(dlg.m_hWnd, vecImages);
    button.SubclassWindow(dlg.GetDlgItem(setUp.nId));
    Place(button, setUp.rc);
    return TRUE;
}

void CMainDlg::CenterOnWorkArea() {
    HMONITOR hMonitor = MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!hMonitor || !GetMonitorInfoW(hMonitor, &mi)) {
        return;  // stays where it is
    }
    RECT rcWindow = {};
    GetWindowRect(&rcWindow);
    int nWidth = rcWindow.right - rcWindow.left;
    int nHeight = rcWindow.bottom - rcWindow.top;
    const RECT& rcWork = mi.rcWork;
    int x = (rcWork.left + rcWork.right) / 2 - nWidth / 2;
    int y = (rcWork.top + rcWork.bottom) / 2 - nHeight / 2;
    if (x + nWidth > rcWork.right) {
        x = rcWork.right - nWidth;
    }
    if (y + nHeight > rcWork.bottom) {
        y = rcWork.bottom - nHeight;
    }
    if (x < rcWork.left) {
        x = rcWork.left;
    }
    if (y < rcWork.top) {
        y = rcWork.top;
    }
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMainDlg::OnInitDialog(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                               BOOL& /*bHandled*/) {
    SetWindowPos(nullptr, 0, 0, kDialogWidth, kDialogHeight, SWP_NOZORDER);
    ModifyStyle(0, WS_MINIMIZEBOX);  // the task bar can minimise and restore it
    CenterOnWorkArea();

    HINSTANCE hInst = _Module.GetResourceInstance();
    HICON hBigIcon = static_cast<HICON>(LoadImageW(hInst, MAKEINTRESOURCEW(IDI_KORVIX), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXICON),
                                                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBigIcon));
    HICON hSmallIcon = static_cast<HICON>(
        LoadImageW(hInst, MAKEINTRESOURCEW(IDI_KORVIX), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmallIcon));

    CMessageLoop* pLoop = _Module.GetMessageLoop();
    _ASSERTE(pLoop != nullptr);
    if (pLoop) {
        pLoop->AddMessageFilter(this);
        pLoop->AddIdleHandler(this);
    }
    UIAddChildWindowContainer(m_hWnd);

    m_pSegments = nullptr;
    g_pMainDlg = this;
    // A second copy of the program finds this window by it.
    SetPropW(m_hWnd, kMainWindowProp, m_hWnd);
    m_nCurrentWriteId = m_nRetryCount = m_nCompleteCount = m_nInstallState = 0;

    if (!LoadPngImage(213, L"PNG", m_imgLogo.Receive()) ||
        !LoadPngImage(214, L"PNG", m_imgCenter.Receive()) ||
        !LoadPngImage(207, L"PNG", m_imgPathFrame.Receive())) {
        return FALSE;
    }
    for (UINT nBase : {353u, 363u, 373u}) {
        CGdiplusImage slide;
        if (!LoadPngImage(GetLocalizedImageId(nBase), L"PNG", slide.Receive())) {
            return FALSE;
        }
        m_vecSlides.push_back(std::move(slide));
    }
    m_pCurSlide = m_vecSlides.front().Get();

    if (!SetUpButton(*this, m_btnClose, kClose, true) ||
        !SetUpButton(*this, m_btnMin, kMin, true) ||
        !SetUpButton(*this, m_btnInstall, kInstall, true) ||
        !SetUpButton(*this, m_chkAgree, kAgree, false) ||
        !SetUpButton(*this, m_btnLicence, kLicence, false) ||
        !SetUpButton(*this, m_chkOptions, kOptions, false)) {
        return FALSE;
    }

    m_lblAgree.Attach(GetDlgItem(IDC_LBL_AGREE));
    m_lblAgree.SetWindowText(GetLanStr(L"STR_AGREE").c_str());
    m_lblAgree.MoveWindow(20, 344, 350, 15);
    m_lblAgree.ShowWindow(SW_HIDE);

    if (!SetUpButton(*this, m_btnBrowse, kBrowse, true)) {
        return FALSE;
    }
    if (!SetUpButton(*this, m_btnStart, kStart, true)) {
        return FALSE;
    }
    m_btnStart.ShowWindow(SW_HIDE);
    if (!SetUpButton(*this, m_btnHide, kHide, true)) {
        return FALSE;
    }
    m_btnHide.ShowWindow(SW_HIDE);

    m_progress.SubclassWindow(GetDlgItem(IDC_PROGRESS));
    m_progress.MoveWindow(48, 312, 470, 6);
    m_progress.ShowWindow(SW_HIDE);
    m_progress.RoundCorners();

    m_lblStatus.Attach(GetDlgItem(IDC_LBL_STATUS));
    m_lblStatus.MoveWindow(49, 326, 350, 15);
    m_lblStatus.ShowWindow(SW_HIDE);

    g_strInstallPath = SpecialFolderPath(CSIDL_PROGRAM_FILESX86);
    DoDataExchange(FALSE);
    ::MoveWindow(GetDlgItem(IDC_EDIT_PATH), 150, 388, 320, 22, TRUE);

    CWindow lblPath(GetDlgItem(IDC_LBL_PATH));
    lblPath.SetWindowText(GetLanStr(L"STR_INSTALL_PATH").c_str());
    switch (GetUserDefaultUILanguage()) {
        case 0x0410:  // Italian and French need the longer label
        case 0x040C:
            lblPath.MoveWindow(12, 388, 130, 32);
            break;
        case 0x0404:
            lblPath.MoveWindow(82, 388, 60, 32);
            break;
        default:
            lblPath.MoveWindow(42, 388, 100, 32);
            break;
    }

    // The focus cue shows once the keyboard is used, unless the user asked
    // for keyboard cues at all times: a mouse user sees the pictures alone.
    SetKeyboardCues(MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS));

    InitTrayIcon(hBigIcon);
    // The program runs elevated: the shell's message that it has made its
    // notification area anew must be let through to it.
    ChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    return TRUE;
}

LRESULT CMainDlg::OnDestroy(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                            BOOL& /*bHandled*/) {
    CMessageLoop* pLoop = _Module.GetMessageLoop();
    if (pLoop) {
        pLoop->RemoveMessageFilter(this);
        pLoop->RemoveIdleHandler(this);
    }
    RemovePropW(m_hWnd, kMainWindowProp);
    RemoveTrayIcon();  // however the program ends, no dead icon stays
    return 0;
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg) {
    // Moving through the controls by keyboard turns the focus cue on, as
    // Windows' dialog manager does.
    if (pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT ||
         pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN)) {
        SetKeyboardCues(MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    }
    return IsDialogMessageW(m_hWnd, pMsg);
}

namespace {

BOOL CALLBACK SendUpdateUiState(HWND hChild, LPARAM lParam) {
    SendMessageW(hChild, WM_UPDATEUISTATE, static_cast<WPARAM>(lParam), 0);
    return TRUE;
}

}  // namespace

void CMainDlg::SetKeyboardCues(WPARAM wChange) {
    if (wChange == m_wKeyboardCues) {
        return;
    }
    m_wKeyboardCues = wChange;
    // Windows keeps the state and tells the controls; Wine does neither, so
    // the controls are told here too (the same news twice changes nothing).
    SendMessage(WM_CHANGEUISTATE, wChange, 0);
    EnumChildWindows(m_hWnd, SendUpdateUiState, static_cast<LPARAM>(wChange));
}

BOOL CMainDlg::OnIdle() {
    UIUpdateChildWindows();
    return FALSE;
}

void CMainDlg::CloseDialog(int nExitCode) {
    DestroyWindow();
    // GDI+ ends soon after the message loop: nothing may outlive it.
    m_pCurSlide = nullptr;
    m_vecSlides.clear();
    m_vecButtonImages.clear();
    m_imgLogo.Close();
    m_imgCenter.Close();
    m_imgPathFrame.Close();
    PostQuitMessage(nExitCode);
    KORVIX_TRACE(L"close()!");
}
