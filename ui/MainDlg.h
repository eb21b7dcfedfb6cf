#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "DownloadMessages.h"
#include "DataExchange.h"
#include "DpiScale.h"
#include "DialogImpl.h"
#include "MessageLoop.h"
#include "UpdateUI.h"
#include "resource.h"
#include "DownProgressBarCtrl.h"
#include "InstallControllerState.h"
#include "SingleInstance.h"
#include "EditImpl.h"
#include "GdiplusImage.h"
#include "OwnerDrawButton.h"
#include "SelectStateButton.h"

// The install folder, bound to the path box (1009) by the data exchange.
extern std::wstring g_strInstallPath;

// Id of the installing page's slideshow timer.
const UINT_PTR kSlideTimerId = 3395;
const UINT kSlideTimerMs = 5000;
// Id of the timer that paces the relaunches of failed transfers.
const UINT_PTR kRelaunchTimerId = 3396;
// Id of the timer that watches for a silent download and shows that a
// failed transfer is being tried again.
const UINT_PTR kWatchTimerId = 3397;
const UINT kWatchTimerMs = 1000;
// The page's width at 96 DPI (and the licence page's height without the
// options strip).
const int kPageWidth = 650;
const int kPageHeight = 360;
// The exit code of every normal end.
const int kExitCodeNormal = 1000;

// The program's one window: a borderless 650 x 360 popup painted with GDI+
// and skinned with pictures, showing the licence page (0), the installing
// page (1) and the finished page (2) in turn. It owns all state; workers
// only post messages to it. Its handlers live in the file of the subsystem
// that owns them.
class CMainDlg : public CDialogImpl<CMainDlg>,
                 public CUpdateUI<CMainDlg>,
                 public CMessageFilter,
                 public CIdleHandler,
                 public CWinDataExchange<CMainDlg>,
                 public InstallControllerState {
public:
    enum { IDD = IDD_MAINDLG };
    enum { kPageLicence = 0, kPageInstalling = 1, kPageFinished = 2 };

    CMainDlg() = default;
    ~CMainDlg() override = default;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;

    BEGIN_MSG_MAP(CMainDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MSG_WM_NCHITTEST(OnNcHitTest)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        MESSAGE_HANDLER(WM_DOWN_PROGRESS, OnDownProgressMsg)
        MESSAGE_HANDLER(WM_DOWN_FILESIZE, OnFileSizeMsg)
        MESSAGE_HANDLER(WM_SEGMENT_COMPLETE, OnSegmentCompleteMsg)
        MESSAGE_HANDLER(WM_DOWN_ERROR, OnDownErrorMsg)
        MESSAGE_HANDLER(WM_INSTALL_COMPLETE, OnInstallCompleteMsg)
        MESSAGE_HANDLER(WM_UNION_FILE_COMPLETE, OnUnionFileCompleteMsg)
        MESSAGE_HANDLER(WM_TRAY_NOTIFY, OnTrayNotify)
        MESSAGE_HANDLER(WM_BRING_TO_FRONT, OnBringToFront)
        MESSAGE_HANDLER(TaskbarCreatedMessage(), OnTaskbarCreated)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MSG_WM_TIMER(OnTimer)
        MSG_WM_CLOSE(OnClose)
        COMMAND_HANDLER(IDC_BTN_CLOSE, BN_CLICKED, OnBtnClose)
        COMMAND_HANDLER(IDC_BTN_MIN, BN_CLICKED, OnBtnMin)
        COMMAND_HANDLER(IDC_BTN_INSTALL, BN_CLICKED, OnBtnInstall)
        COMMAND_HANDLER(IDC_CHK_OPTIONS, BN_CLICKED, OnChkOptions)
        COMMAND_HANDLER(IDC_CHK_AGREE, BN_CLICKED, OnChkAgree)
        COMMAND_HANDLER(IDC_BTN_LICENCE, BN_CLICKED, OnBtnLicence)
        COMMAND_HANDLER(IDC_BTN_HIDE, BN_CLICKED, OnBtnHide)
        COMMAND_HANDLER(IDC_BTN_START, BN_CLICKED, OnBtnStart)
        COMMAND_HANDLER(IDC_BTN_BROWSE, BN_CLICKED, OnBtnBrowse)
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
    // are the controller's and the installer handler's.
    bool IsAgreementTicked();
    // The reminder under the agreement box, after a press without the tick.
    void ShowAgreementReminder();
    // The installing page at 0%: the licence page's controls and the options
    // strip go, the bar, the status line and the hide button come.
    void ShowInstallingPage();
    // Places every control at m_scale (ui/MainDlgLayout.cpp), with fonts
    // for it; PlaceControl places one; the window's height is nHeight at
    // 96 DPI, scaled.
    void LayOut();
    void PlaceControl(int nId);
    void ResizeTo(int nHeight);
    // The bar and the status line at nPos percent.
    void ShowProgressPosition(int nPos);
    // The status line says that the program is connecting again; the bar
    // keeps its place.
    void ShowReconnecting();
    // The finished page: the start, close and minimise buttons; a hidden
    // window shows again (its icon goes first).
    void ShowFinishedPage();

    // Page, scale, controls, pictures and tray record, in this order.
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

private:
    // Start-up and painting (ui/MainDlgInit.cpp, ui/MainDlgPaint.cpp).
    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    UINT OnNcHitTest(CPoint point);
    LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnCtlColorStatic(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void CenterOnWorkArea();
    void UseFontsForDpi();
    void KeepDialogLayoutOnDpiChange();
    LRESULT OnDpiChanged(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Names every control for screen readers, in the user's language; the
    // path box by its label.
    void NameControls(CWindow lblPath);
    // Changes the keyboard cues of the dialog and its controls
    // (WM_CHANGEUISTATE's wParam), once per change.
    void SetKeyboardCues(WPARAM wChange);

    // Commands and tray (ui/MainDlgCommands.cpp).
    void OnTimer(UINT_PTR nIdEvent);
    void OnClose();
    LRESULT OnTrayNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnBringToFront(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
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
    LRESULT OnTaskbarCreated(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnBtnClose(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnBtnMin(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnChkAgree(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnChkOptions(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnBtnLicence(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnBtnBrowse(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnBtnHide(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    void InitTrayIcon(HICON hBigIcon);

    // Install controller (download/InstallController.cpp).
    LRESULT OnBtnInstall(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    void StartInstall();
    void RestartInstall();
    LRESULT OnDownErrorMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnDownProgressMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void StartSegmentTransfer(int nId);
    void RelaunchParkedSegments();
    void QueueRelaunch(int nCode);
    void OnRelaunchTimer();
    void OnWatchTimer();
    // The two ends of a failed installation: a box, then exit code 1000.
    void OnNetworkFailure();
    void OnLocalFailure();
    void BeginFailureOutcome();

    // Segment table and assembly (download/SegmentAssembly.cpp).
    LRESULT OnFileSizeMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnSegmentCompleteMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnUnionFileCompleteMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void StartSegmentWrite(int nId);
    // Closes the partial file once no write runs, and deletes it.
    void DiscardDownload();

    // Installer, product and analytics (install/).
    LRESULT OnInstallCompleteMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnBtnStart(WORD wNotifyCode, WORD wId, HWND hWndCtl, BOOL& bHandled);
    void LoadClientId();
    void ReportStartInstall();
    void ReportInstalled();
    void SendAnalyticsEvent(LPCWSTR pszEventLiteral);
};

extern CMainDlg* g_pMainDlg;
