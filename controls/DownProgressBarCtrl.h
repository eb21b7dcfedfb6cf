#pragma once

#include <windows.h>

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
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
    END_MSG_MAP()

    // Cuts 3 x 3 corners off the bar at its present size (the window owns
    // the region from then on).
    void RoundCorners();

private:
    LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
};
