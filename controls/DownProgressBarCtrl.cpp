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

void CDownProgressBarCtrl::OnPaint(HDC /*hDc*/) {
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
}

void CDownProgressBarCtrl::RoundCorners(int nCorner) {
    RECT rc = {};
    GetClientRect(&rc);
    // A round-rect region leaves out its last column and row: one pixel more
    // each way keeps the whole bar, with the corners cut.
    SetWindowRgn(CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, nCorner, nCorner),
                 TRUE);
}

LRESULT CDownProgressBarCtrl::OnGetObject(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam,
                                          BOOL& bHandled) {
    AccessibleFacts facts;
    facts.strName = m_strAccName;
    facts.nKind = AccessibleFacts::kProgress;
    facts.strValue = std::to_wstring(GetPos()) + L"%";
    const LRESULT lResult = AnswerAccessibleObject(m_hWnd, wParam, lParam, facts);
    bHandled = lResult != 0;
    return lResult;
}
