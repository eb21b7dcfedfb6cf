#include "SelectStateButton.h"

#include "Drawing.h"
#include "OwnerDrawButton.h"

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
    m_accFacts.strName = strName;
    m_accFacts.nKind = nKind;
    SetWindowText(strName.c_str());
    NotifyAccessibleChange(m_hWnd, EVENT_OBJECT_NAMECHANGE);
}

LRESULT CSelectStateButton::OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam,
                                        BOOL& bHandled) {
    AccessibleFacts facts = m_accFacts;
    facts.bOn = GetSelectState() == 1;
    const LRESULT lResult = AnswerAccessibleObject(m_hWnd, wParam, lParam, facts);
    bHandled = lResult != 0;
    return lResult;
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

LRESULT CSelectStateButton::OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                       BOOL& /*bHandled*/) {
    const LRESULT lResult = DefWindowProc(uMsg, wParam, lParam);
    if (uMsg == WM_UPDATEUISTATE) {
        UpdateHideFocus(wParam, m_bHideFocus);
    }
    RepaintWithPage(m_hWnd);
    return lResult;
}

BOOL CSelectStateButton::OnSetCursor(CWindow /*wnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    static HCURSOR s_hHand = nullptr;  // per class, for the life of the process
    if (!ShowHandCursor(s_hHand)) {
        SetMsgHandled(FALSE);  // default processing sets the class cursor
        return FALSE;
    }
    return TRUE;
}

void CSelectStateButton::DrawItem(LPDRAWITEMSTRUCT pDis) {
    DrawPicture(pDis);
    DrawFocusCue(pDis, m_bHideFocus);  // after the picture's GDI+ drawing has ended
}

void CSelectStateButton::DrawPicture(LPDRAWITEMSTRUCT pDis) {
    SetBkMode(pDis->hDC, TRANSPARENT);
    Gdiplus::Graphics graphics(pDis->hDC);
    int nState = GetSelectState();
    Gdiplus::Image* pImage = nullptr;
    if (m_vecImages.size() >= 1 && m_vecImages[0] && nState == 0) {
        pImage = m_vecImages[0];
    } else if (m_vecImages.size() >= 2 && m_vecImages[1] && nState == 1) {
        pImage = m_vecImages[1];
    }
    if (pImage) {
        DrawImage(graphics, pImage, 0, 0, pDis->rcItem.right - pDis->rcItem.left,
                  pDis->rcItem.bottom - pDis->rcItem.top);
    }
}
