#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "../framework/Controls.h"
#include "../framework/WindowImpl.h"

// A picture push button: normal, hover and pressed pictures; the click is
// reported (sent, WM_COMMAND BN_CLICKED) when the left button is released
// over it. The end of hovering is found by polling the cursor every 20 ms.
// Paints only through the parent's reflected WM_DRAWITEM.
class COwnerDrawButton : public CWindowImpl<COwnerDrawButton, CButtonT<CWindow>>,
                         public COwnerDraw<COwnerDrawButton> {
public:
    static const UINT_PTR kHoverTimerId = 3295;
    static const UINT kHoverPollMs = 20;
    enum { kStateNormal = 0, kStateHover = 1, kStatePressed = 2 };

    // Images are not owned: index 0 normal, 1 hover, 2 pressed. A null
    // notify window clears the previous one.
    void SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages);
    void DrawItem(LPDRAWITEMSTRUCT pDis);

    BEGIN_MSG_MAP(COwnerDrawButton)
        CHAIN_MSG_MAP_ALT(COwnerDraw<COwnerDrawButton>, 1)
        MSG_WM_MOUSEMOVE(OnMouseMove)
        MSG_WM_LBUTTONDOWN(OnLButtonDown)
        MSG_WM_LBUTTONUP(OnLButtonUp)
        MSG_WM_TIMER(OnTimer)
        MSG_WM_SETCURSOR(OnSetCursor)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()

    RECT m_rcItem = {};
    std::vector<Gdiplus::Image*> m_vecImages;
    int m_nState = kStateNormal;
    HWND m_hNotifyWnd = nullptr;

protected:
    virtual void OnHover() {}
    virtual void OnPressed() {}
    virtual void OnReleased();
    virtual void OnLeave() {}

private:
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIdEvent);
    BOOL OnSetCursor(CWindow wnd, UINT nHitTest, UINT message);
    void Repaint();
};

// Sends BN_CLICKED of hButton to hNotifyWnd, as both picture buttons report.
void SendButtonClick(HWND hNotifyWnd, HWND hButton);
// Shows the system hand cursor, loaded once into the caller's cache; false
// when it cannot be loaded, so that the default cursor stays.
bool ShowHandCursor(HCURSOR& hCache);
