#include <windows.h>

#include "Drawing.h"
#include "MainDlg.h"

namespace {

const Gdiplus::ARGB kWhite = Gdiplus::Color::MakeARGB(255, 255, 255, 255);
const Gdiplus::ARGB kHairline = Gdiplus::Color::MakeARGB(255, 224, 224, 224);
const Gdiplus::ARGB kFrame = Gdiplus::Color::MakeARGB(255, 204, 204, 204);

}  // namespace

void CMainDlg::OnPaint(HDC /*hDc*/) {
    CPaintScope paint(m_hWnd);
    RECT rcClient = {};
    GetClientRect(&rcClient);
    int nWidth = rcClient.right - rcClient.left;
    int nHeight = rcClient.bottom - rcClient.top;
    Gdiplus::Graphics graphics(paint.GetDC());

    const CDpiScale& s = m_scale;
    switch (m_nInstallState) {
        case kPageLicence:
            // Below y 360 (the options strip) the dialog keeps its own colour.
            FillRectangle(graphics, kWhite, s.Rect(0, 0, 650, 360));
            FillRectangle(graphics, kHairline, s.Rect(0, 312, 650, 1));
            FillRectangle(graphics, kHairline, s.Rect(0, 359, 650, 1));
            DrawImage(graphics, m_imgLogo.Get(), s.Rect(10, 6, 108, 32));
            DrawImage(graphics, m_imgCenter.Get(), s.Rect(207, 105, 235, 52));
            DrawImage(graphics, m_imgPathFrame.Get(), s.Rect(148, 381, 323, 32));
            break;
        case kPageInstalling:
            DrawImage(graphics, m_pCurSlide, s.Rect(0, 0, 650, 290));
            FillRectangle(graphics, kWhite, 0, s(290), nWidth, nHeight - s(290));
            break;
        case kPageFinished:
            FillRectangle(graphics, kWhite, s.Rect(0, 0, 650, 360));
            DrawImage(graphics, m_imgLogo.Get(), s.Rect(10, 6, 108, 32));
            DrawImage(graphics, m_imgCenter.Get(), s.Rect(207, 105, 235, 52));
            break;
    }
    FrameRectangle(graphics, kFrame, RECT{0, 0, nWidth, nHeight}, s(1));
}

UINT CMainDlg::OnNcHitTest(CPoint point) {
    // No frame: a press anywhere on the dialog's own surface drags it.
    RECT rc = {};
    GetClientRect(&rc);
    ClientToScreen(&rc);
    return PtInRect(&rc, point) ? HTCAPTION : HTNOWHERE;
}

HBRUSH CMainDlg::OnCtlColorStatic(HDC hDc, HWND hStatic) {
    if (hStatic == m_lblAgree.m_hWnd) {
        SetTextColor(hDc, RGB(255, 0, 0));
        SetBkMode(hDc, TRANSPARENT);
        return static_cast<HBRUSH>(GetCurrentObject(hDc, OBJ_BRUSH));
    }
    if (hStatic == m_lblStatus.m_hWnd) {
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    return nullptr;  // default dialog processing
}
