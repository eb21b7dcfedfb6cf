#include "PictureButton.h"

void SendButtonClick(HWND hNotifyWnd, HWND hButton) {
    SendMessageW(hNotifyWnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hButton), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hButton));
}

UINT PictureButtonDlgCode(LPMSG pMsg) {
    const bool bEnter = pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN;
    return DLGC_BUTTON | (bEnter ? DLGC_WANTMESSAGE : 0);
}

void UpdateHideFocus(WPARAM wUpdateUiState, bool& bHideFocus) {
    if (!(HIWORD(wUpdateUiState) & UISF_HIDEFOCUS)) {
        return;
    }
    switch (LOWORD(wUpdateUiState)) {
        case UIS_SET:
            bHideFocus = true;
            break;
        case UIS_CLEAR:
            bHideFocus = false;
            break;
        default: {  // UIS_INITIALIZE: as the user's setting says
            BOOL bCuesAlways = FALSE;
            SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &bCuesAlways, 0);
            bHideFocus = !bCuesAlways;
            break;
        }
    }
}

void DrawFocusCue(const DRAWITEMSTRUCT* pDis, bool bHideFocus) {
    if (!(pDis->itemState & ODS_FOCUS) || bHideFocus ||
        (SendMessageW(pDis->hwndItem, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        return;
    }
    RECT rc = pDis->rcItem;
    DrawFocusRect(pDis->hDC, &rc);
}

void RepaintWithPage(HWND hButton) {
    HWND hParent = GetParent(hButton);
    RECT rc = {};
    if (!hParent || !GetWindowRect(hButton, &rc)) {
        return;
    }
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    RedrawWindow(hParent, &rc, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool ShowHandCursor(HCURSOR& hCache) {
    if (!hCache) {
        hCache = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
    }
    if (!hCache) {
        return false;
    }
    SetCursor(hCache);
    return true;
}
