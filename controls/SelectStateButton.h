#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "../framework/Controls.h"
#include "../framework/WindowImpl.h"

// A two-state picture toggle: flips on every left-button press, repaints,
// then reports the press (WM_COMMAND BN_CLICKED, sent). The state is guarded
// so it may be read from any thread.
class CSelectStateButton : public CWindowImpl<CSelectStateButton, CButtonT<CWindow>>,
                           public COwnerDraw<CSelectStateButton> {
public:
    CSelectStateButton();
    ~CSelectStateButton() override;

    // Images are not owned: index 0 for state 0, 1 for state 1. A null
    // notify window keeps the previous one.
    void SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages);
    int GetSelectState();
    void SetSelectState(int nState);
    void DrawItem(LPDRAWITEMSTRUCT pDis);

    BEGIN_MSG_MAP(CSelectStateButton)
        CHAIN_MSG_MAP_ALT(COwnerDraw<CSelectStateButton>, 1)
        MSG_WM_LBUTTONDOWN(OnLButtonDown)
        MSG_WM_SETCURSOR(OnSetCursor)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()

    int m_nSelectState = 0;
    std::vector<Gdiplus::Image*> m_vecImages;
    HWND m_hNotifyWnd = nullptr;
    CRITICAL_SECTION m_csState;

private:
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWindow wnd, UINT nHitTest, UINT message);
};
