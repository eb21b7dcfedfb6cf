#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "AccessibleControl.h"
#include "Controls.h"
#include "WindowImpl.h"

// What both picture buttons ask of the dialog's keyboard handling: the Enter
// key comes to them (they click), the rest as to any button.
UINT PictureButtonDlgCode(LPMSG pMsg);
// The focus cue of a picture button, drawn over its picture while it has the
// focus and the keyboard cues are on: a mouse user sees the pictures alone.
// A button keeps the cue's state as the keyboard-cue messages last set it
// (WM_UPDATEUISTATE; hidden until one says otherwise), because Wine keeps no
// such state for WM_QUERYUISTATE to read back.
void UpdateHideFocus(WPARAM wUpdateUiState, bool& bHideFocus);
void DrawFocusCue(const DRAWITEMSTRUCT* pDis, bool bHideFocus);
// Repaints a transparent button together with the page under it, so that a
// cue taken away leaves nothing behind.
void RepaintWithPage(HWND hButton);
// The message-map entries both picture buttons share: the second press of a
// double-click is a press, Space and Enter (OnKeyDown, OnKeyUp), and the
// focus cue's repaints (OnFocusCue).
#define PICTURE_BUTTON_KEYBOARD_MAP()         \
    MSG_WM_LBUTTONDBLCLK(OnLButtonDown)       \
    MSG_WM_KEYDOWN(OnKeyDown)                 \
    MSG_WM_KEYUP(OnKeyUp)                     \
    MSG_WM_GETDLGCODE(PictureButtonDlgCode)   \
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusCue)  \
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusCue) \
    MESSAGE_HANDLER(WM_UPDATEUISTATE, OnFocusCue)

// A picture push button: normal, hover and pressed pictures; the click is
// reported (sent, WM_COMMAND BN_CLICKED) when the left button is released
// over it, when Space is released or Enter pressed while it has the focus,
// and on the second press of a double-click. The end of hovering is found by
// polling the cursor every 20 ms. Paints only through the parent's reflected
// WM_DRAWITEM, with the focus cue while the keyboard is in use.
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
        PICTURE_BUTTON_KEYBOARD_MAP()
        MSG_WM_TIMER(OnTimer)
        MSG_WM_SETCURSOR(OnSetCursor)
        MESSAGE_HANDLER(WM_GETOBJECT, OnGetObject)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()

    // The name a screen reader says (also the window's text, which no
    // picture draws).
    void SetAccessibleName(const std::wstring& strName);

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
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void OnTimer(UINT_PTR nIdEvent);
    LRESULT OnGetObject(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    BOOL OnSetCursor(CWindow wnd, UINT nHitTest, UINT message);
    void Click();
    void Repaint();
    void DrawPicture(LPDRAWITEMSTRUCT pDis);

    AccessibleFacts m_accFacts;
    bool m_bSpaceDown = false;  // Space went down on this button
    bool m_bHideFocus = true;   // no focus cue: see UpdateHideFocus
};

// Sends BN_CLICKED of hButton to hNotifyWnd, as both picture buttons report.
void SendButtonClick(HWND hNotifyWnd, HWND hButton);
// Shows the system hand cursor, loaded once into the caller's cache; false
// when it cannot be loaded, so that the default cursor stays.
bool ShowHandCursor(HCURSOR& hCache);
