#include "OwnerDrawButton.h"

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

void COwnerDrawButton::SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages) {
    m_hNotifyWnd = hNotifyWnd;
    m_vecImages = std::move(vecImages);
}

void COwnerDrawButton::OnReleased() {
    SendButtonClick(m_hNotifyWnd, m_hWnd);
}

void COwnerDrawButton::Repaint() {
    Invalidate(TRUE);
    UpdateWindow();
}

void COwnerDrawButton::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    OnHover();
    if (m_nState == kStateNormal) {
        m_nState = kStateHover;
        SetTimer(kHoverTimerId, kHoverPollMs);
        Repaint();
    }
}

void COwnerDrawButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    m_nState = kStatePressed;
    OnPressed();
    Repaint();
}

void COwnerDrawButton::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    m_nState = kStateHover;
    Click();
}

void COwnerDrawButton::Click() {
    OnReleased();  // the dialog's handler has run when this returns
    if (m_hWnd) {
        Repaint();  // unless that handler destroyed this button
    }
}

void COwnerDrawButton::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    if (nChar != VK_SPACE && nChar != VK_RETURN) {
        SetMsgHandled(FALSE);
        return;
    }
    if (nFlags & KF_REPEAT) {
        return;  // a key held down clicks once
    }
    if (nChar == VK_RETURN) {
        Click();
        return;
    }
    // Space: pressed while down, the click on its release, as native buttons.
    m_bSpaceDown = true;
    m_nState = kStatePressed;
    Repaint();
}

void COwnerDrawButton::OnKeyUp(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
    if (nChar != VK_SPACE) {
        SetMsgHandled(FALSE);
        return;
    }
    if (m_bSpaceDown) {
        m_bSpaceDown = false;
        m_nState = kStateNormal;
        Click();
    }
}

LRESULT COwnerDrawButton::OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/) {
    const LRESULT lResult = DefWindowProc(uMsg, wParam, lParam);
    if (uMsg == WM_UPDATEUISTATE) {
        UpdateHideFocus(wParam, m_bHideFocus);
    }
    if (uMsg == WM_KILLFOCUS && m_bSpaceDown) {
        m_bSpaceDown = false;  // Space released elsewhere: no click
        m_nState = kStateNormal;
    }
    RepaintWithPage(m_hWnd);
    return lResult;
}

void COwnerDrawButton::OnTimer(UINT_PTR /*nIdEvent*/) {
    POINT pt = {};
    GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (PtInRect(&m_rcItem, pt)) {
        return;
    }
    KillTimer(kHoverTimerId);
    m_nState = kStateNormal;
    OnLeave();
    Repaint();
}

BOOL COwnerDrawButton::OnSetCursor(CWindow /*wnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    static HCURSOR s_hHand = nullptr;  // per class, for the life of the process
    if (!ShowHandCursor(s_hHand)) {
        SetMsgHandled(FALSE);  // default processing sets the class cursor
        return FALSE;
    }
    return TRUE;
}

void COwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT pDis) {
    DrawPicture(pDis);
    DrawFocusCue(pDis, m_bHideFocus);  // after the picture's GDI+ drawing has ended
}

void COwnerDrawButton::DrawPicture(LPDRAWITEMSTRUCT pDis) {
    m_rcItem = pDis->rcItem;
    SetBkMode(pDis->hDC, TRANSPARENT);
    Gdiplus::Graphics graphics(pDis->hDC);
    Gdiplus::Image* pImage = nullptr;
    size_t nCount = m_vecImages.size();
    // No fallback: a state without its picture paints nothing.
    if (nCount >= 1 && m_vecImages[0] && m_nState == kStateNormal) {
        pImage = m_vecImages[0];
    } else if (nCount >= 2 && m_vecImages[1] && m_nState == kStateHover) {
        pImage = m_vecImages[1];
    } else if (nCount >= 3 && m_vecImages[2] && m_nState == kStatePressed) {
        pImage = m_vecImages[2];
    }
    if (pImage) {
        DrawImage(graphics, pImage, 0, 0, m_rcItem.right - m_rcItem.left,
                  m_rcItem.bottom - m_rcItem.top);
    }
}

void COwnerDrawButton::SetAccessibleName(const std::wstring& strName) {
    m_accFacts.strName = strName;
    m_accFacts.nKind = AccessibleFacts::kButton;
    SetWindowText(strName.c_str());
    NotifyAccessibleChange(m_hWnd, EVENT_OBJECT_NAMECHANGE);
}

LRESULT COwnerDrawButton::OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    const LRESULT lResult = AnswerAccessibleObject(m_hWnd, wParam, lParam, m_accFacts);
    bHandled = lResult != 0;
    return lResult;
}
