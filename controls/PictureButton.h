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
// Sends BN_CLICKED of hButton to hNotifyWnd, as both picture buttons report.
void SendButtonClick(HWND hNotifyWnd, HWND hButton);
// Shows the system hand cursor, loaded once into the caller's cache; false
// when it cannot be loaded, so that the default cursor stays.
bool ShowHandCursor(HCURSOR& hCache);

// The entries a picture button's own map lists for the mouse and the keys:
// the second press of a double-click is a press, Space and Enter.
#define PICTURE_BUTTON_KEYBOARD_MAP()   \
    MSG_WM_LBUTTONDBLCLK(OnLButtonDown) \
    MSG_WM_KEYDOWN(OnKeyDown)           \
    MSG_WM_KEYUP(OnKeyUp)

// A subclassed BUTTON painted only through the parent's reflected
// WM_DRAWITEM with a picture the dialog owns, the focus cue over it while the
// keyboard is in use, the hand cursor over it, and what a screen reader
// learns of it. A derived button says which picture its state shows, handles
// the mouse and the keys, and chains this map after its own entries.
class CPictureButton : public CWindowImpl<CPictureButton, CButtonT<CWindow>>,
                       public COwnerDraw<CPictureButton> {
public:
    void DrawItem(LPDRAWITEMSTRUCT pDis);

    BEGIN_MSG_MAP(CPictureButton)
        CHAIN_MSG_MAP_ALT(COwnerDraw<CPictureButton>, 1)
        MSG_WM_GETDLGCODE(PictureButtonDlgCode)
        MESSAGE_HANDLER(WM_SETFOCUS, OnFocusCue)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusCue)
        MESSAGE_HANDLER(WM_UPDATEUISTATE, OnFocusCue)
        MSG_WM_SETCURSOR(OnSetCursor)
        MESSAGE_HANDLER(WM_GETOBJECT, OnGetObject)
    END_MSG_MAP()

    RECT m_rcItem = {};                        // as last drawn
    std::vector<Gdiplus::Image*> m_vecImages;  // not owned
    HWND m_hNotifyWnd = nullptr;

protected:
    // The picture of the present state; null paints nothing.
    virtual Gdiplus::Image* CurrentImage() = 0;
    // What a screen reader gets when it asks: the facts as last set.
    virtual AccessibleFacts CurrentFacts() { return m_accFacts; }
    // After the system's own handling of WM_KILLFOCUS, before the repaint.
    virtual void OnFocusLost() {}
    // The name a screen reader says (also the window's text, which no
    // picture draws) and what the pictures show the button to be.
    void SetFacts(const std::wstring& strName, AccessibleFacts::Kind nKind);

private:
    void DrawPicture(LPDRAWITEMSTRUCT pDis);
    LRESULT OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    BOOL OnSetCursor(CWindow wnd, UINT nHitTest, UINT message);
    LRESULT OnGetObject(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    AccessibleFacts m_accFacts;
    bool m_bHideFocus = true;  // no focus cue: see UpdateHideFocus
};
