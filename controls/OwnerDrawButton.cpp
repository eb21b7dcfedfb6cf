#include "OwnerDrawButton.h"

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

void COwnerDrawButton::OnFocusLost() {
    if (m_bSpaceDown) {
        m_bSpaceDown = false;  // Space released elsewhere: no click
        m_nState = kStateNormal;
    }
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

Gdiplus::Image* COwnerDrawButton::CurrentImage() {
    const size_t nCount = m_vecImages.size();
    // No fallback: a state without its picture paints nothing.
    if (nCount >= 1 && m_nState == kStateNormal) {
        return m_vecImages[0];
    }
    if (nCount >= 2 && m_nState == kStateHover) {
        return m_vecImages[1];
    }
    if (nCount >= 3 && m_nState == kStatePressed) {
        return m_vecImages[2];
    }
    return nullptr;
}

void COwnerDrawButton::SetAccessibleName(const std::wstring& strName) {
    SetFacts(strName, AccessibleFacts::kButton);
}
