#include <windows.h>

#include "MainDlg.h"
#include "UiLanguage.h"

namespace {

// Every control's place on the licence page (and, for the bar, the status
// line and the two installing-page buttons, on theirs) at 96 DPI: x, y,
// width, height.
struct ControlPlace {
    int nId;
    int x, y, w, h;
};

const ControlPlace kPlaces[] = {
    {IDC_BTN_CLOSE, 620, 7, 20, 20},      {IDC_BTN_MIN, 590, 7, 20, 20},
    {IDC_BTN_INSTALL, 241, 195, 168, 46}, {IDC_CHK_AGREE, 20, 329, 14, 14},
    {IDC_BTN_LICENCE, 42, 329, 390, 15},  {IDC_CHK_OPTIONS, 441, 329, 180, 12},
    {IDC_LBL_AGREE, 20, 344, 350, 15},    {IDC_BTN_BROWSE, 481, 381, 90, 32},
    {IDC_BTN_START, 241, 195, 168, 46},   {IDC_BTN_HIDE, 545, 312, 57, 26},
    {IDC_PROGRESS, 48, 312, 470, 6},      {IDC_LBL_STATUS, 49, 326, 350, 15},
    {IDC_EDIT_PATH, 150, 388, 320, 22},
};

// The path label's place is its language's.
ControlPlace PathLabelPlace() {
    const UiLanguage& language = FindUiLanguage(GetUserDefaultUILanguage());
    return {IDC_LBL_PATH, language.nPathLabelX, 388, language.nPathLabelWidth, 32};
}

UINT ScreenDpi() {
    HDC hScreen = GetDC(nullptr);
    const int nDpi = hScreen ? GetDeviceCaps(hScreen, LOGPIXELSY) : 0;
    if (hScreen) {
        ReleaseDC(nullptr, hScreen);
    }
    return nDpi > 0 ? static_cast<UINT>(nDpi) : CDpiScale::kBaseDpi;
}

}  // namespace

UINT WindowDpi(HWND hWnd) {
    // Windows 7 to 10 1511 do not have it.
    typedef UINT(WINAPI * GetDpiForWindowFn)(HWND);
    auto pfnGetDpiForWindow = NewerUser32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT nDpi = pfnGetDpiForWindow ? pfnGetDpiForWindow(hWnd) : 0;
    return nDpi ? nDpi : ScreenDpi();
}

void CMainDlg::ResizeTo(int nHeight) {
    SetWindowPos(nullptr, 0, 0, m_scale(kPageWidth), m_scale(nHeight), SWP_NOMOVE | SWP_NOZORDER);
}

void CMainDlg::PlaceControl(int nId) {
    ControlPlace place = PathLabelPlace();
    for (const ControlPlace& candidate : kPlaces) {
        if (candidate.nId == nId) {
            place = candidate;
        }
    }
    if (place.nId != nId) {
        return;
    }
    const RECT rc = m_scale.Rect(place.x, place.y, place.w, place.h);
    ::MoveWindow(GetDlgItem(nId), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    if (nId == IDC_PROGRESS && m_progress.m_hWnd) {
        m_progress.RoundCorners(m_scale(3));
    }
}

void CMainDlg::LayOut() {
    for (const ControlPlace& place : kPlaces) {
        PlaceControl(place.nId);
    }
    PlaceControl(IDC_LBL_PATH);
    UseFontsForDpi();
}

void CMainDlg::UseFontsForDpi() {
    // The template's font was made for the screen's DPI; a window on
    // another monitor gets it again at its own.
    HFONT hDialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const UINT nFontDpi = ScreenDpi();
    HFONT hFont = hDialogFont;
    if (m_scale.Dpi() != nFontDpi && hDialogFont) {
        LOGFONTW lf = {};
        if (GetObjectW(hDialogFont, sizeof(lf), &lf) == sizeof(lf)) {
            lf.lfHeight =
                MulDiv(lf.lfHeight, static_cast<int>(m_scale.Dpi()), static_cast<int>(nFontDpi));
            HFONT hScaled = CreateFontIndirectW(&lf);
            if (hScaled) {
                hFont = hScaled;
            }
        }
    }
    for (int nId : {IDC_LBL_AGREE, IDC_LBL_PATH, IDC_LBL_STATUS, IDC_EDIT_PATH}) {
        ::SendMessageW(GetDlgItem(nId), WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    }
    if (m_hScaledFont) {
        DeleteObject(m_hScaledFont);
    }
    m_hScaledFont = hFont != hDialogFont ? hFont : nullptr;
}

void CMainDlg::OnDpiChanged(UINT /*nDpiX*/, UINT nDpiY, const RECT* pSuggested) {
    // Dragged to a monitor of another scale: the suggested rectangle keeps
    // the window under the pointer at its new size.
    m_scale = CDpiScale(nDpiY);
    SetWindowPos(nullptr, pSuggested->left, pSuggested->top, pSuggested->right - pSuggested->left,
                 pSuggested->bottom - pSuggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
