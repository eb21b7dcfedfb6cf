#pragma once

#include <windows.h>

#include <string>

#include "AccessibleControl.h"
#include "Controls.h"
#include "WindowImpl.h"

// The right edge of the filled part: position x width / (high - low),
// truncated toward zero. The position is not reduced by low. 0 for an empty
// range.
int ProgressFillRight(int nWidth, int nLow, int nHigh, int nPos);

// The native progress bar keeps range and position; this paints it as a flat
// light-blue track with a blue bar.
class CDownProgressBarCtrl : public CWindowImpl<CDownProgressBarCtrl, CProgressBarCtrlT<CWindow>> {
public:
    static const COLORREF kTrackColor = 0xFFDBC5;  // RGB 197, 219, 255
    static const COLORREF kBarColor = 0xFF8840;    // RGB 64, 136, 255

    BEGIN_MSG_MAP(CDownProgressBarCtrl)
        MSG_WM_PAINT(OnPaint)
        MESSAGE_HANDLER(WM_GETOBJECT, OnGetObject)
    END_MSG_MAP()

    // The name a screen reader says; it reads the position as "45%".
    void SetAccessibleName(const std::wstring& strName) { m_strAccName = strName; }

    // Cuts nCorner x nCorner corners off the bar at its present size (the
    // window owns the region from then on).
    void RoundCorners(int nCorner = 3);

private:
    void OnPaint(HDC hDc);
    LRESULT OnGetObject(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    std::wstring m_strAccName;
};
