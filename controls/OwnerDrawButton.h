#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "PictureButton.h"

// A picture push button: normal, hover and pressed pictures; the click is
// reported (sent, WM_COMMAND BN_CLICKED) when the left button is released
// over it, when Space is released or Enter pressed while it has the focus,
// and on the second press of a double-click. The end of hovering is found by
// polling the cursor every 20 ms. Paints only through the parent's reflected
// WM_DRAWITEM, with the focus cue while the keyboard is in use.
class COwnerDrawButton : public CPictureButton {
public:
    static const UINT_PTR kHoverTimerId = 3295;
    static const UINT kHoverPollMs = 20;
    enum { kStateNormal = 0, kStateHover = 1, kStatePressed = 2 };

    // Images are not owned: index 0 normal, 1 hover, 2 pressed. A null
    // notify window clears the previous one.
    void SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages);

    BEGIN_MSG_MAP(COwnerDrawButton)
        MSG_WM_MOUSEMOVE(OnMouseMove)
        MSG_WM_LBUTTONDOWN(OnLButtonDown)
        MSG_WM_LBUTTONUP(OnLButtonUp)
        PICTURE_BUTTON_KEYBOARD_MAP()
        MSG_WM_TIMER(OnTimer)
        CHAIN_MSG_MAP(CPictureButton)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()

    // The name a screen reader says (also the window's text, which no
    // picture draws).
    void SetAccessibleName(const std::wstring& strName);

    int m_nState = kStateNormal;

protected:
    virtual void OnHover() {}
    virtual void OnPressed() {}
    virtual void OnReleased();
    virtual void OnLeave() {}

private:
    Gdiplus::Image* CurrentImage() override;
    void OnFocusLost() override;
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnTimer(UINT_PTR nIdEvent);
    void Click();
    void Repaint();

    bool m_bSpaceDown = false;  // Space went down on this button
};
