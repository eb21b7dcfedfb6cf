#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "AccessibleControl.h"
#include "Controls.h"
#include "Drawing.h"
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

// What both picture buttons share: a subclassed BUTTON painted only through
// the parent's reflected WM_DRAWITEM with a picture the dialog owns, the
// focus cue over it while the keyboard is in use, the hand cursor, the Enter
// key, and what a screen reader learns of it. T says which picture its state
// shows (CurrentImage), may add to the facts a reader gets (CurrentFacts)
// and to losing the focus (OnFocusLost), and handles the mouse and keys.
template <class T>
class CPictureButtonImpl : public CWindowImpl<T, CButtonT<CWindow>>, public COwnerDraw<T> {
public:
    void DrawItem(LPDRAWITEMSTRUCT pDis) {
        m_rcItem = pDis->rcItem;
        SetBkMode(pDis->hDC, TRANSPARENT);
        {
            Gdiplus::Graphics graphics(pDis->hDC);
            Gdiplus::Image* pImage = static_cast<T*>(this)->CurrentImage();
            if (pImage) {
                DrawImage(graphics, pImage, 0, 0, m_rcItem.right - m_rcItem.left,
                          m_rcItem.bottom - m_rcItem.top);
            }
        }
        DrawFocusCue(pDis, m_bHideFocus);  // after the picture's GDI+ drawing has ended
    }

    BEGIN_MSG_MAP(CPictureButtonImpl)
        CHAIN_MSG_MAP_ALT(COwnerDraw<T>, 1)
        MSG_WM_GETDLGCODE(PictureButtonDlgCode)
        MESSAGE_HANDLER(WM_SETFOCUS, OnFocusCue)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusCue)
        MESSAGE_HANDLER(WM_UPDATEUISTATE, OnFocusCue)
        MSG_WM_SETCURSOR(OnSetCursor)
        MESSAGE_HANDLER(WM_GETOBJECT, OnGetObject)
    END_MSG_MAP()

    RECT m_rcItem = {};
    std::vector<Gdiplus::Image*> m_vecImages;  // not owned; which shows when is T's
    HWND m_hNotifyWnd = nullptr;

protected:
    // The name a screen reader says (also the window's text, which no
    // picture draws) and what the pictures show the button to be.
    void SetFacts(const std::wstring& strName, AccessibleFacts::Kind nKind) {
        m_accFacts.strName = strName;
        m_accFacts.nKind = nKind;
        this->SetWindowText(strName.c_str());
        NotifyAccessibleChange(this->m_hWnd, EVENT_OBJECT_NAMECHANGE);
    }
    AccessibleFacts CurrentFacts() { return m_accFacts; }
    void OnFocusLost() {}

    AccessibleFacts m_accFacts;
    bool m_bHideFocus = true;  // no focus cue: see UpdateHideFocus

private:
    LRESULT OnFocusCue(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/) {
        const LRESULT lResult = this->DefWindowProc(uMsg, wParam, lParam);
        if (uMsg == WM_UPDATEUISTATE) {
            UpdateHideFocus(wParam, m_bHideFocus);
        }
        if (uMsg == WM_KILLFOCUS) {
            static_cast<T*>(this)->OnFocusLost();
        }
        RepaintWithPage(this->m_hWnd);
        return lResult;
    }

    BOOL OnSetCursor(CWindow /*wnd*/, UINT /*nHitTest*/, UINT /*message*/) {
        static HCURSOR s_hHand = nullptr;  // per class, for the life of the process
        if (!ShowHandCursor(s_hHand)) {
            this->SetMsgHandled(FALSE);  // default processing sets the class cursor
            return FALSE;
        }
        return TRUE;
    }

    LRESULT OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
        const AccessibleFacts facts = static_cast<T*>(this)->CurrentFacts();
        const LRESULT lResult = AnswerAccessibleObject(this->m_hWnd, wParam, lParam, facts);
        bHandled = lResult != 0;
        return lResult;
    }
};
