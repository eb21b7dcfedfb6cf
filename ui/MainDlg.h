#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "DataExchange.h"
#include "DesktopShell.h"
#include "DpiScale.h"
#include "DialogImpl.h"
#include "DownProgressBarCtrl.h"
#include "EditImpl.h"
#include "GdiplusImage.h"
#include "InstallController.h"
#include "InstallView.h"
#include "MessageLoop.h"
#include "OwnerDrawButton.h"
#include "SelectStateButton.h"
#include "SingleInstance.h"
#include "WorkerThreads.h"
#include "resource.h"

// The notification-area icon's reports. wParam: icon id (1); lParam: mouse
// message.
const UINT WM_TRAY_NOTIFY = WM_USER + 100;  // 1124
// void OnTrayNotify(UINT nIconId, UINT uMouseMsg)
#define MSG_WM_TRAY_NOTIFY(func) \
    MSG_CRACKED_VOID(WM_TRAY_NOTIFY, func(static_cast<UINT>(wParam), static_cast<UINT>(lParam)))

// The install folder, bound to the path box (1009) by the data exchange.
extern std::wstring g_strInstallPath;

// Id of the installing page's slideshow timer.
const UINT_PTR kSlideTimerId = 3395;
const UINT kSlideTimerMs = 5000;
// The page's width at 96 DPI (and the licence page's height without the
// options strip).
const int kPageWidth = 650;
const int kPageHeight = 360;
// The exit code of every normal end.
const int kExitCodeNormal = 1000;

// The program's one window: a borderless 650 x 360 popup painted with GDI+
// and skinned with pictures, showing the licence page (0), the installing
// page (1) and the finished page (2) in turn. The installation itself is its
// controller's, which handles the workers' reports first and asks the
// window, as its view, to show what it decided.
class CMainDlg : public CDialogImpl<CMainDlg>,
                 public CMessageFilter,
                 public CWinDataExchange<CMainDlg>,
                 public IInstallView {
public:
    enum { IDD = IDD_MAINDLG };
    enum { kPageLicence = 0, kPageInstalling = 1, kPageFinished = 2 };

    CMainDlg() = default;
    ~CMainDlg() override = default;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    BEGIN_MSG_MAP(CMainDlg)
        CHAIN_MSG_MAP_MEMBER(m_controller)
        MSG_WM_INITDIALOG(OnInitDialog)
        MSG_WM_DESTROY(OnDestroy)
        MSG_WM_NCHITTEST(OnNcHitTest)
        MSG_WM_DPICHANGED(OnDpiChanged)
        MSG_WM_TRAY_NOTIFY(OnTrayNotify)
        MSG_NOTICE(WM_BRING_TO_FRONT, OnBringToFront)
        MSG_NOTICE(TaskbarCreatedMessage(), OnTaskbarCreated)
        MSG_WM_PAINT(OnPaint)
        MSG_WM_CTLCOLORSTATIC(OnCtlColorStatic)
        MSG_WM_TIMER(OnTimer)
        MSG_WM_CLOSE(OnClose)
        BN_CLICKED_HANDLER(IDC_BTN_CLOSE, OnBtnClose)
        BN_CLICKED_HANDLER(IDC_BTN_MIN, OnBtnMin)
        BN_CLICKED_HANDLER(IDC_BTN_INSTALL, OnBtnInstall)
        BN_CLICKED_HANDLER(IDC_CHK_OPTIONS, OnChkOptions)
        BN_CLICKED_HANDLER(IDC_CHK_AGREE, OnChkAgree)
        BN_CLICKED_HANDLER(IDC_BTN_LICENCE, OnBtnLicence)
        BN_CLICKED_HANDLER(IDC_BTN_HIDE, OnBtnHide)
        BN_CLICKED_HANDLER(IDC_BTN_START, OnBtnStart)
        BN_CLICKED_HANDLER(IDC_BTN_BROWSE, OnBtnBrowse)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()

    BEGIN_DDX_MAP(CMainDlg)
        DDX_CONTROL(IDC_EDIT_PATH, m_editPath)
        DDX_TEXT(IDC_EDIT_PATH, g_strInstallPath)
    END_DDX_MAP()

    // The one way the program ends: destroys the window, frees the pictures
    // and posts the quit message with nExitCode.
    void CloseDialog(int nExitCode);
    // MessageBoxW with an owner (or none); returns its answer.
    int ShowMessageBox(HWND hOwner, LPCWSTR pszText, LPCWSTR pszCaption, UINT uType);
    // Loads a picture of this program; reports load failures to this window.
    BOOL LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage);

    // What each page shows (ui/MainDlgPages.cpp); the decisions to switch
    // are the controller's.
    bool IsAgreementTicked();
    // The reminder under the agreement box, after a press without the tick.
    void ShowAgreementReminder();
    // The installing page at 0%: the licence page's controls and the options
    // strip go, the bar, the status line and the hide button come; the
    // slides turn.
    void ShowInstalling() override;
    // Places every control at m_scale (ui/MainDlgLayout.cpp), with fonts
    // for it; PlaceControl places one; the window's height is nHeight at
    // 96 DPI, scaled.
    void LayOut();
    void PlaceControl(int nId);
    void ResizeTo(int nHeight);
    // The bar and the status line at nPos percent.
    void ShowProgress(int nPos) override;
    // The status line says that the program is connecting again; the bar
    // keeps its place.
    void ShowReconnecting() override;
    // The finished page, after its event: the start, close and minimise
    // buttons; a hidden window shows again (its icon goes first).
    void ShowFinished() override;
    // The outcome's box, over a window the user can see; then the end.
    void ShowNetworkFailure() override;
    void ShowLocalFailure() override;
    void ArmTimer(UINT_PTR nId, UINT nMs) override { SetTimer(nId, nMs); }
    void DisarmTimer(UINT_PTR nId) override { KillTimer(nId); }

    // The workers and the controller that starts them, in this order; page,
    // scale, controls, pictures and tray record.
    CWorkerThreads m_workers;
    CInstallController m_controller{*this, m_workers};
    int m_nInstallState = kPageLicence;
    CDpiScale m_scale;              // the window's DPI; the tests set it
    HFONT m_hScaledFont = nullptr;  // the labels' font at m_scale, when not the dialog's
    COwnerDrawButton m_btnClose;
    COwnerDrawButton m_btnMin;
    COwnerDrawButton m_btnInstall;
    COwnerDrawButton m_btnBrowse;
    CSelectStateButton m_chkAgree;
    CSelectStateButton m_btnLicence;
    CSelectStateButton m_chkOptions;
    COwnerDrawButton m_btnHide;
    COwnerDrawButton m_btnStart;
    CDownProgressBarCtrl m_progress;
    CEditImpl m_editPath;
    CWindow m_lblAgree;
    CWindow m_lblStatus;
    NOTIFYICONDATAW m_nid = {};
    bool m_bTrayIcon = false;    // the icon of m_nid is in the notification area
    WPARAM m_wKeyboardCues = 0;  // the last change of SetKeyboardCues
    CGdiplusImage m_imgLogo;
    CGdiplusImage m_imgCenter;
    CGdiplusImage m_imgPathFrame;
    std::vector<CGdiplusImage> m_vecSlides;
    Gdiplus::Image* m_pCurSlide = nullptr;  // one of m_vecSlides
    // What the buttons draw: they hold the pointers, the dialog owns them.
    std::vector<CGdiplusImage> m_vecButtonImages;
    // How what the user opens is started: by the desktop's shell, as the
    // desktop user (the tests put one here that fails).
    DesktopShellOpen m_pfnDesktopShell = OpenWithDesktopShell;
    bool m_bStarting = false;  // the start button was clicked: the window goes

private:
    // Start-up and painting (ui/MainDlgInit.cpp, ui/MainDlgPaint.cpp).
    BOOL OnInitDialog(CWindow wndFocus, LPARAM lInitParam);
    void OnDestroy();
    UINT OnNcHitTest(CPoint point);
    void OnPaint(HDC hDc);
    HBRUSH OnCtlColorStatic(HDC hDc, HWND hStatic);
    void CenterOnWorkArea();
    void UseFontsForDpi();
    void KeepDialogLayoutOnDpiChange();
    void OnDpiChanged(UINT nDpiX, UINT nDpiY, const RECT* pSuggested);
    // Names every control for screen readers, in the user's language; the
    // path box by its label.
    void NameControls(CWindow lblPath);
    // Changes the keyboard cues of the dialog and its controls
    // (WM_CHANGEUISTATE's wParam), once per change.
    void SetKeyboardCues(WPARAM wChange);

    // Commands and tray (ui/MainDlgCommands.cpp).
    void OnTimer(UINT_PTR nIdEvent);
    void OnClose();
    void OnTrayNotify(UINT nIconId, UINT uMouseMsg);
    void OnBringToFront();
    // Shows a window that was hidden (and its icon goes) or minimised.
    void ShowAgain();
    // After a page switch the focus, if it is this window's, goes to the
    // page's own button, where the keyboard goes on.
    void KeepFocusOnPage(HWND hPageButton);
    // The notification-area icon: added (false when the shell refuses it;
    // bBalloon: with the balloon) and removed; removing twice is harmless.
    bool AddTrayIcon(bool bBalloon);
    void RemoveTrayIcon();
    // The shell's notification area was made anew (Explorer restarted).
    static UINT TaskbarCreatedMessage();
    void OnTaskbarCreated();
    void OnBtnClose();
    void OnBtnMin();
    void OnChkAgree();
    void OnChkOptions();
    void OnBtnLicence();
    void OnBtnBrowse();
    void OnBtnHide();
    // Install with the box ticked: its event, then the controller starts.
    void OnBtnInstall();
    // The installed product, as the desktop user: the window goes first, and
    // a second click starts nothing; where the shell cannot start it, a box
    // says where it is. Then the end.
    void OnBtnStart();
    // Opens strAddress in the desktop user's browser; where the desktop
    // shell cannot, a box shows the address to open by hand.
    void OpenInBrowser(const std::wstring& strAddress);
    void InitTrayIcon(HICON hBigIcon);
};
