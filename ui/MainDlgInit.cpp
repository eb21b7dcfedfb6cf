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

std::wstring g_strInstallPath;

namespace {

// One picture button or toggle and its pictures, in the order they are
// handed over. Localized pictures are base ids. Places: ui/MainDlgLayout.cpp.
struct ButtonSetUp {
    int nId;
    UINT ids[3];
    size_t nCount;
    bool bLocalized;
};

const ButtonSetUp kClose = {IDC_BTN_CLOSE, {239, 240, 239}, 3, false};
const ButtonSetUp kMin = {IDC_BTN_MIN, {243, 244, 243}, 3, false};
const ButtonSetUp kInstall = {IDC_BTN_INSTALL, {333, 343, 323}, 3, true};
const ButtonSetUp kAgree = {IDC_CHK_AGREE, {215, 202}, 2, false};
const ButtonSetUp kLicence = {IDC_BTN_LICENCE, {383, 383}, 2, true};
const ButtonSetUp kOptions = {IDC_CHK_OPTIONS, {283, 293}, 2, true};
const ButtonSetUp kBrowse = {IDC_BTN_BROWSE, {263, 273, 263}, 3, true};
const ButtonSetUp kStart = {IDC_BTN_START, {403, 413, 393}, 3, true};
const ButtonSetUp kHide = {IDC_BTN_HIDE, {303, 313, 303}, 3, true};

}  // namespace

BOOL CMainDlg::LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage) {
    // Above 100 % the large set, scaled down where the scale is below 200 %:
    // sharper than the small one scaled up.
    if (!m_scale.IsBase() && FindResourceW(_Module.GetResourceInstance(),
                                           MAKEINTRESOURCEW(nId + kLargeImageOffset), pszType)) {
        nId += kLargeImageOffset;
    }
    DWORD dwError = 0;
    if (::LoadPngImage(nId, pszType, ppImage, dwError)) {
        return TRUE;
    }
    if (dwError != 0) {
        PostMessage(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
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
    dlg.PlaceControl(setUp.nId);
    return TRUE;
}

void CMainDlg::KeepDialogLayoutOnDpiChange() {
    // Windows 10 (1703 on) would scale a dialog's fonts and places by itself
    // when its DPI changes; this one lays itself out (OnDpiChanged). Looked
    // up: older versions have neither call.
    typedef BOOL(WINAPI * SetDialogBehaviorFn)(HWND, int, int);
    auto pfnDialog = NewerUser32Function<SetDialogBehaviorFn>("SetDialogDpiChangeBehavior");
    auto pfnControl = NewerUser32Function<SetDialogBehaviorFn>("SetDialogControlDpiChangeBehavior");
    const int kDisableAll = 0x0001;              // DDC_DISABLE_ALL
    const int kNoFontUpdateNoRelayout = 0x0003;  // DCDC_DISABLE_FONTUPDATE | DCDC_DISABLE_RELAYOUT
    if (pfnDialog) {
        pfnDialog(m_hWnd, kDisableAll, kDisableAll);
    }
    if (pfnControl) {
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            pfnControl(hChild, kNoFontUpdateNoRelayout, kNoFontUpdateNoRelayout);
        }
    }
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

BOOL CMainDlg::OnInitDialog(CWindow /*wndFocus*/, LPARAM /*lInitParam*/) {
    m_scale = CDpiScale(WindowDpi(m_hWnd));
    KeepDialogLayoutOnDpiChange();
    ResizeTo(kPageHeight);
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
    }
    m_controller.SetReportWindow(m_hWnd);
    // A second copy of the program finds this window by it.
    SetPropW(m_hWnd, kMainWindowProp, m_hWnd);
    m_nInstallState = kPageLicence;

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
    PlaceControl(IDC_LBL_AGREE);
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
    PlaceControl(IDC_PROGRESS);
    m_progress.ShowWindow(SW_HIDE);

    m_lblStatus.Attach(GetDlgItem(IDC_LBL_STATUS));
    PlaceControl(IDC_LBL_STATUS);
    m_lblStatus.ShowWindow(SW_HIDE);

    g_strInstallPath = SpecialFolderPath(CSIDL_PROGRAM_FILESX86);
    DoDataExchange(FALSE);
    PlaceControl(IDC_EDIT_PATH);

    CWindow lblPath(GetDlgItem(IDC_LBL_PATH));
    lblPath.SetWindowText(GetLanStr(L"STR_INSTALL_PATH").c_str());
    PlaceControl(IDC_LBL_PATH);
    UseFontsForDpi();

    // The focus cue shows once the keyboard is used, unless the user asked
    // for keyboard cues at all times: a mouse user sees the pictures alone.
    SetKeyboardCues(MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS));

    // The task bar and Alt+Tab show it by name; no caption bar draws it.
    SetWindowText(GetLanStr(L"STR_SOFT_TIP").c_str());
    NameControls(lblPath);

    InitTrayIcon(hBigIcon);
    // The program runs elevated: the shell's message that it has made its
    // notification area anew must be let through to it.
    ChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);

    // The first key a user presses moves them forward: the agreement box is
    // the first stop (the dialog manager gives it the focus; Space ticks it),
    // install the next; close and minimise, like a title bar's, come last.
    const UINT uOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;
    ::SetWindowPos(m_btnClose, HWND_BOTTOM, 0, 0, 0, 0, uOrderOnly);
    ::SetWindowPos(m_btnMin, HWND_BOTTOM, 0, 0, 0, 0, uOrderOnly);
    ::SetWindowPos(m_btnInstall, m_chkAgree, 0, 0, 0, 0, uOrderOnly);
    return TRUE;
}

void CMainDlg::NameControls(CWindow lblPath) {
    m_btnClose.SetAccessibleName(GetLanStr(L"STR_ACC_CLOSE"));
    m_btnMin.SetAccessibleName(GetLanStr(L"STR_ACC_MINIMISE"));
    m_btnInstall.SetAccessibleName(GetLanStr(L"STR_ACC_INSTALL"));
    m_chkAgree.SetAccessibleFacts(GetLanStr(L"STR_ACC_AGREE"), AccessibleFacts::kCheckBox);
    m_btnLicence.SetAccessibleFacts(GetLanStr(L"STR_ACC_LICENCE"), AccessibleFacts::kLink);
    m_chkOptions.SetAccessibleFacts(GetLanStr(L"STR_ACC_OPTIONS"), AccessibleFacts::kExpander);
    m_btnBrowse.SetAccessibleName(GetLanStr(L"STR_ACC_BROWSE"));
    m_btnHide.SetAccessibleName(GetLanStr(L"STR_ACC_HIDE"));
    m_btnStart.SetAccessibleName(GetLanStr(L"STR_ACC_START"));
    m_editPath.SetAccessibleName(lblPath.GetWindowText());
    m_progress.SetAccessibleName(GetLanStr(L"STR_DOWNLOADING"));
}

void CMainDlg::OnDestroy() {
    CMessageLoop* pLoop = _Module.GetMessageLoop();
    if (pLoop) {
        pLoop->RemoveMessageFilter(this);
    }
    RemovePropW(m_hWnd, kMainWindowProp);
    RemoveTrayIcon();  // however the program ends, no dead icon stays
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

void CMainDlg::CloseDialog(int nExitCode) {
    DestroyWindow();
    // GDI+ ends soon after the message loop: nothing may outlive it.
    m_pCurSlide = nullptr;
    m_vecSlides.clear();
    m_vecButtonImages.clear();
    m_imgLogo.Close();
    m_imgCenter.Close();
    m_imgPathFrame.Close();
    if (m_hScaledFont) {
        DeleteObject(m_hScaledFont);  // the labels that used it are gone
        m_hScaledFont = nullptr;
    }
    PostQuitMessage(nExitCode);
    KORVIX_TRACE(L"close()!");
}
