#include "PictureButton.h"

#include "Drawing.h"

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

void CPictureButton::DrawItem(LPDRAWITEMSTRUCT pDis) {
    DrawPicture(pDis);
    DrawFocusCue(pDis, m_bHideFocus);  // after the picture's GDI+ drawing has ended
}

void CPictureButton::DrawPicture(LPDRAWITEMSTRUCT pDis) {
    m_rcItem = pDis->rcItem;
    SetBkMode(pDis->hDC, TRANSPARENT);
    Gdiplus::Graphics graphics(pDis->hDC);
    Gdiplus::Image* pImage = CurrentImage();
    if (pImage) {
        DrawImage(graphics, pImage, 0, 0, m_rcItem.right - m_rcItem.left,
                  m_rcItem.bottom - m_rcItem.top);
    }
}

void CPictureButton::SetFacts(const std::wstring& strName, AccessibleFacts::Kind nKind) {
    m_accFacts.strName = strName;
    m_accFacts.nKind = nKind;
    SetWindowText(strName.c_str());
    NotifyAccessibleChange(m_hWnd, EVENT_OBJECT_NAMECHANGE);
}

LRESULT CPictureButton::OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/) {
    const LRESULT lResult = DefWindowProc(uMsg, wParam, lParam);
    if (uMsg == WM_UPDATEUISTATE) {
        UpdateHideFocus(wParam, m_bHideFocus);
    }
    if (uMsg == WM_KILLFOCUS) {
        OnFocusLost();
    }
    RepaintWithPage(m_hWnd);
    return lResult;
}

BOOL CPictureButton::OnSetCursor(CWindow /*wnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    static HCURSOR s_hHand = nullptr;  // the system's, for the life of the process
    if (!ShowHandCursor(s_hHand)) {
        SetMsgHandled(FALSE);  // default processing sets the class cursor
        return FALSE;
    }
    return TRUE;
}

LRESULT CPictureButton::OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    const LRESULT lResult = AnswerAccessibleObject(m_hWnd, wParam, lParam, CurrentFacts());
    bHandled = lResult != 0;
    return lResult;
}
