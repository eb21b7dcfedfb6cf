#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "CriticalSection.h"
#include "PictureButton.h"

// A two-state picture toggle: flips on every left-button press (both presses
// of a double-click) and on Space or Enter while it has the focus, repaints,
// then reports the press (WM_COMMAND BN_CLICKED, sent). Shows the focus cue
// while the keyboard is in use. The state is guarded so it may be read from
// any thread.
class CSelectStateButton : public CPictureButton {
public:
    // Images are not owned: index 0 for state 0, 1 for state 1. A null
    // notify window keeps the previous one.
    void SetImages(HWND hNotifyWnd, std::vector<Gdiplus::Image*> vecImages);
    int GetSelectState();
    void SetSelectState(int nState);

    BEGIN_MSG_MAP(CSelectStateButton)
        MSG_WM_LBUTTONDOWN(OnLButtonDown)
        PICTURE_BUTTON_KEYBOARD_MAP()
        CHAIN_MSG_MAP(CPictureButton)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()

    // What a screen reader says of it: its name (also the window's text,
    // which no picture draws) and what its pictures show it to be; state 1
    // is ticked or expanded.
    void SetAccessibleFacts(const std::wstring& strName, AccessibleFacts::Kind nKind);

    int m_nSelectState = 0;
    CCriticalSection m_csState;

private:
    Gdiplus::Image* CurrentImage() override;
    // Ticked or expanded is state 1.
    AccessibleFacts CurrentFacts() override;
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void Toggle();
};
