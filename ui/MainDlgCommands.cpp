#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <io.h>

#include "Analytics.h"
#include "DesktopShell.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "ProductLaunch.h"
#include "ShellFolder.h"

namespace {

const UINT kTrayIconId = 1;
const int kHeightClosed = 360;
const int kHeightOptions = 434;

}  // namespace

// The record the shell expects from this program: the full Vista+ layout.
static_assert(sizeof(NOTIFYICONDATAW) == (sizeof(void*) == 4 ? 956 : 976),
              "NOTIFYICONDATAW must be the full record");

int CMainDlg::ShowMessageBox(HWND hOwner, LPCWSTR pszText, LPCWSTR pszCaption, UINT uType) {
    return MessageBoxW(hOwner, pszText, pszCaption, uType);
}

void CMainDlg::OnBtnClose() {
    if (ShowMessageBox(m_hWnd, GetLanStr(L"STR_CLOSE_TIP").c_str(),
                       GetLanStr(L"STR_SOFT_TIP").c_str(), MB_YESNO) == IDYES) {
        CloseDialog(kExitCodeNormal);
    }
}

void CMainDlg::OnClose() {
    if (m_nInstallState == kPageInstalling) {
        ShowWindow(SW_HIDE);  // comes back when the installation ends
        return;
    }
    OnBtnClose();
}

void CMainDlg::OnBtnMin() {
    ShowWindow(SW_MINIMIZE);
}

void CMainDlg::OnChkAgree() {
    // Unticking does not bring the warning back; only the install button does.
    if (m_chkAgree.GetSelectState() == 1) {
        m_lblAgree.ShowWindow(SW_HIDE);
    }
}

void CMainDlg::OnChkOptions() {
    int nHeight = m_chkOptions.GetSelectState() == 1 ? kHeightOptions : kHeightClosed;
    ResizeTo(nHeight);
    // The frame and the hairline at 359 move with the height, but a resize
    // repaints only the newly exposed band: without this, row 359 keeps the
    // old frame when opening and loses it when closing. The transparent
    // picture buttons are not clipped out of the page, so they repaint too.
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CMainDlg::OnBtnLicence() {
    OpenInBrowser(GetLanStr(L"STR_LICENCE_URL"));
}

void CMainDlg::OpenInBrowser(const std::wstring& strAddress) {
    // The browser runs as the desktop user, never with the program's token.
    if (!OpenAsDesktopUser(strAddress, std::wstring(), m_pfnDesktopShell)) {
        const std::wstring strText = GetLanStr(L"STR_OPEN_ADDRESS") + L"\n\n" + strAddress;
        ShowMessageBox(m_hWnd, strText.c_str(), GetLanStr(L"STR_SOFT_TIP").c_str(),
                       MB_ICONINFORMATION | MB_SETFOREGROUND);
    }
}

void CMainDlg::OnBtnBrowse() {
    std::wstring strTitle = GetLanStr(L"STR_SELECT_FOLDER");
    wchar_t szDisplayName[MAX_PATH] = {};
    BROWSEINFOW bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = szDisplayName;
    bi.lpszTitle = strTitle.c_str();
    bi.ulFlags = BIF_EDITBOX;
    LPITEMIDLIST pidl = SHBrowseForFolderW(&bi);
    if (!pidl) {
        return;  // cancelled: nothing changes
    }
    wchar_t szPath[MAX_PATH] = {};
    SHGetPathFromIDListW(pidl, szPath);  // a virtual folder gives ""
    CoTaskMemFree(pidl);
    g_strInstallPath = szPath;
    DoDataExchange(FALSE);
}

namespace {

// The small-icon size at a DPI: the system's answer for it where Windows has
// one (10, version 1607 on); before, every monitor has the system's DPI.
int SmallIconSize(UINT nDpi) {
    typedef int(WINAPI * GetSystemMetricsForDpiFn)(int, UINT);
    auto pfnForDpi = NewerUser32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (pfnForDpi) {
        return pfnForDpi(SM_CXSMICON, nDpi);
    }
    return GetSystemMetrics(SM_CXSMICON);
}

}  // namespace

void CMainDlg::InitTrayIcon(HICON /*hBigIcon*/) {
    m_nid = NOTIFYICONDATAW{};
    m_nid.cbSize = sizeof(NOTIFYICONDATAW);
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = static_cast<HICON>(
        LoadImageW(_Module.GetResourceInstance(), MAKEINTRESOURCEW(IDI_KORVIX), IMAGE_ICON,
                   SmallIconSize(m_scale.Dpi()), SmallIconSize(m_scale.Dpi()), LR_DEFAULTCOLOR));
    std::wstring strProject = GetLanStr(L"STR_PROJECT_NAME");
    // Each text is cut to its field, terminating null included.
    lstrcpynW(m_nid.szTip, (strProject + GetLanStr(L"STR_DOWNLOADING")).c_str(),
              ARRAYSIZE(m_nid.szTip));
    lstrcpynW(m_nid.szInfo, GetLanStr(L"STR_BEING_INSTALLED").c_str(), ARRAYSIZE(m_nid.szInfo));
    lstrcpynW(m_nid.szInfoTitle, strProject.c_str(), ARRAYSIZE(m_nid.szInfoTitle));
}

void CMainDlg::OnBtnHide() {
    // Without its icon a hidden window could not be brought back: it shows
    // again.
    ShowWindow(SW_HIDE);
    if (!AddTrayIcon(true)) {
        ShowWindow(SW_SHOWNORMAL);
    }
}

bool CMainDlg::AddTrayIcon(bool bBalloon) {
    NOTIFYICONDATAW nid = m_nid;
    if (!bBalloon) {
        nid.uFlags &= ~NIF_INFO;
    }
    m_bTrayIcon = nid.hWnd && Shell_NotifyIconW(NIM_ADD, &nid);  // NIF_INFO: with the balloon
    return m_bTrayIcon;
}

void CMainDlg::RemoveTrayIcon() {
    if (m_bTrayIcon) {
        Shell_NotifyIconW(NIM_DELETE, &m_nid);
        m_bTrayIcon = false;
    }
}

UINT CMainDlg::TaskbarCreatedMessage() {
    static const UINT s_uMsg = RegisterWindowMessageW(L"TaskbarCreated");
    return s_uMsg;
}

void CMainDlg::OnTaskbarCreated() {
    // A new notification area has none of the old icons: a hidden window
    // gets its icon back, without the balloon; failing that, it shows. An
    // area that still has it (Wine announces its area when the first icon
    // comes) is left alone.
    if (!m_bTrayIcon) {
        return;
    }
    NOTIFYICONDATAW nid = m_nid;
    nid.uFlags = NIF_TIP;
    if (!Shell_NotifyIconW(NIM_MODIFY, &nid) && !AddTrayIcon(false)) {
        ShowWindow(SW_SHOWNORMAL);
    }
}

void CMainDlg::OnTrayNotify(UINT nIconId, UINT uMouseMsg) {
    if (nIconId == kTrayIconId && (uMouseMsg == WM_LBUTTONUP || uMouseMsg == WM_RBUTTONUP)) {
        ShowAgain();
    }
}

void CMainDlg::ShowAgain() {
    if (!IsWindowVisible()) {
        // Hidden to the notification area, or by a close request. The icon
        // goes first: the window never shows beside it.
        RemoveTrayIcon();
        ShowWindow(SW_SHOWNORMAL);
    } else if (::IsIconic(m_hWnd)) {
        ShowWindow(SW_RESTORE);
    }
}

void CMainDlg::KeepFocusOnPage(HWND hPageButton) {
    // Hiding the focused control moves the focus on to another control or
    // the dialog (the next tab stop may be on no page at all), or nowhere.
    // Only a focus that is this window's is moved, and only while the
    // window shows: giving the focus would make a hidden window active.
    HWND hFocus = ::GetFocus();
    const bool bOurs =
        hFocus ? hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus) : ::GetActiveWindow() == m_hWnd;
    if (bOurs && IsWindowVisible()) {
        ::SetFocus(hPageButton);
    }
}

void CMainDlg::OnBringToFront() {
    ShowAgain();
    SetForegroundWindow(m_hWnd);
}

void CMainDlg::OnTimer(UINT_PTR nIdEvent) {
    if (nIdEvent != kSlideTimerId) {
        return;
    }
    if (m_vecSlides.size() == 3) {
        if (m_pCurSlide == m_vecSlides[0].Get()) {
            m_pCurSlide = m_vecSlides[1].Get();
        } else if (m_pCurSlide == m_vecSlides[1].Get()) {
            m_pCurSlide = m_vecSlides[2].Get();
        } else {
            m_pCurSlide = m_vecSlides[0].Get();
        }
    }
    InvalidateRect(nullptr, FALSE);
    UpdateWindow();
}

void CMainDlg::OnBtnInstall() {
    const std::wstring strTip = GetLanStr(L"STR_SOFT_TIP");
    if (!IsAgreementTicked()) {
        ShowMessageBox(m_hWnd, GetLanStr(L"STR_AGREE_INSTALL").c_str(), strTip.c_str(),
                       MB_ICONINFORMATION);
        ShowAgreementReminder();
        return;
    }
    ReportStartInstall(GetLanStr(L"STR_PROJECT_NAME"));
    // The folder typed in the box; one that is not there gives way to the
    // default, which the installer makes.
    DoDataExchange(TRUE);
    InstallRequest request;
    request.strUrl = GetLanStr(L"STR_DOWN_URL");
    request.strInstallPath = g_strInstallPath;
    if (_waccess(request.strInstallPath.c_str(), 0) != 0) {
        request.strInstallPath = SpecialFolderPath(CSIDL_PROGRAM_FILESX86);
    }
    request.strPublicDocs = SpecialFolderPath(CSIDL_COMMON_DOCUMENTS);
    if (!m_controller.StartInstall(request)) {
        ShowMessageBox(m_hWnd, GetLanStr(L"STR_URL_ERROR").c_str(), strTip.c_str(),
                       MB_ICONINFORMATION);
        return;
    }
    g_strInstallPath = request.strInstallPath;  // where the product is started from
}

void CMainDlg::OnBtnStart() {
    // The shell's call pumps messages: a second click may land inside it.
    if (m_bStarting) {
        return;
    }
    m_bStarting = true;
    // The user never looks at a page that waits for the shell.
    m_btnStart.EnableWindow(FALSE);
    ShowWindow(SW_HIDE);
    const std::wstring strFolder = ProductFolder(g_strInstallPath, GetLanStr(L"STR_COMPANY_NAME"),
                                                 GetLanStr(L"STR_PROJECT_NAME"));
    if (!StartProduct(strFolder, GetLanStr(L"STR_PROCESS_NAME"), m_pfnDesktopShell)) {
        // Owned by the hidden window, brought to the front by itself.
        const std::wstring strText = GetLanStr(L"STR_PRODUCT_INSTALLED_IN") + L"\n\n" + strFolder +
                                     L"\n\n" + GetLanStr(L"STR_START_FROM_MENU");
        ShowMessageBox(m_hWnd, strText.c_str(), GetLanStr(L"STR_SOFT_TIP").c_str(),
                       MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    }
    CloseDialog(kExitCodeNormal);
}
