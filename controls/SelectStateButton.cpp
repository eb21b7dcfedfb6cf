#include "SelectStateButton.h"

void CSelectStateButton::SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages) {
    if (hNotifyWnd) {
        m_hNotifyWnd = hNotifyWnd;
    }
    m_vecImages = std::move(vecImages);
}

int CSelectStateButton::GetSelectState() {
    CCriticalSectionLock lock(m_csState);
    return m_nSelectState;
}

void CSelectStateButton::SetSelectState(int nState) {
    {
        CCriticalSectionLock lock(m_csState);
        m_nSelectState = nState;
    }
    // A hidden button shows its state when it is next drawn.
    if (IsWindowVisible()) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    if (m_hWnd) {
        NotifyAccessibleChange(m_hWnd, EVENT_OBJECT_STATECHANGE);
    }
}

void CSelectStateButton::SetAccessibleFacts(const std::wstring& strName,
                                            AccessibleFacts::Kind nKind) {
    SetFacts(strName, nKind);
}

AccessibleFacts CSelectStateButton::CurrentFacts() {
    AccessibleFacts facts = CPictureButton::CurrentFacts();
    facts.bOn = GetSelectState() == 1;
    return facts;
}

void CSelectStateButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    Toggle();
}

void CSelectStateButton::Toggle() {
    SetSelectState(GetSelectState() == 0 ? 1 : 0);
    // Toggled before the dialog hears of it: its handler reads the new state.
    SendButtonClick(m_hNotifyWnd, m_hWnd);
}

void CSelectStateButton::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
    if (nChar != VK_SPACE && nChar != VK_RETURN) {
        SetMsgHandled(FALSE);
    } else if (!(nFlags & KF_REPEAT)) {  // a key held down toggles once
        Toggle();
    }
}

void CSelectStateButton::OnKeyUp(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
    // The native button would click on Space's release: the press toggled.
    if (nChar != VK_SPACE) {
        SetMsgHandled(FALSE);
    }
}

Gdiplus::Image* CSelectStateButton::CurrentImage() {
    const int nState = GetSelectState();
    if (nState == 0 && m_vecImages.size() >= 1) {
        return m_vecImages[0];
    }
    if (nState == 1 && m_vecImages.size() >= 2) {
        return m_vecImages[1];
    }
    return nullptr;
}
