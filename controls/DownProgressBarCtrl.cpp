#include "DownProgressBarCtrl.h"

#include "Drawing.h"

int ProgressFillRight(int nWidth, int nLow, int nHigh, int nPos) {
    if (nHigh == nLow) {
        return 0;
    }
    // position x (width / range), multiplied out first: the product is exact
    // in a double, so 50 % of 470 is 235 and not 234.99... on an x87 FPU.
    return static_cast<int>(static_cast<double>(nPos) * nWidth / (nHigh - nLow));
}

LRESULT CDownProgressBarCtrl::OnPaint(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                      BOOL& /*bHandled*/) {
    CPaintScope paint(m_hWnd);
    RECT rcClient = {};
    GetClientRect(&rcClient);
    GdiFill(paint.GetDC(), rcClient, kTrackColor);

    PBRANGE range = {};
    GetRange(&range);
    RECT rcBar = rcClient;
    rcBar.right =
        ProgressFillRight(rcClient.right - rcClient.left, range.iLow, range.iHigh, GetPos());
    if (rcBar.right > rcBar.left) {
        GdiFill(paint.GetDC(), rcBar, kBarColor);
    }
    return 0;
}

void CDownProgressBarCtrl::RoundCorners() {
    RECT rc = {};
    GetClientRect(&rc);
    // A round-rect region leaves out its last column and row: one pixel more
    // each way keeps the whole bar, with the corners cut.
    SetWindowRgn(CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, 3, 3), TRUE);
}
