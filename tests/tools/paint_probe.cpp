// paint_probe: a 300 x 200 popup at screen 100, 100 whose left half is the
// accent blue (64, 136, 255) and right half white, framed in grey. It prints
// "click X Y" (client coordinates) for the first left-button release and ends
// with 0; with no click within 60 s it ends with 3.
#include <windows.h>

#include <cstdio>

namespace {

const UINT_PTR kGiveUpTimer = 1;

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hWnd, &ps);
            RECT rcLeft = {0, 0, 150, 200};
            RECT rcRight = {150, 0, 300, 200};
            HBRUSH hBlue = CreateSolidBrush(RGB(64, 136, 255));
            FillRect(hdc, &rcLeft, hBlue);
            FillRect(hdc, &rcRight, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DeleteObject(hBlue);
            HBRUSH hGrey = CreateSolidBrush(RGB(204, 204, 204));
            RECT rcAll = {0, 0, 300, 200};
            FrameRect(hdc, &rcAll, hGrey);
            DeleteObject(hGrey);
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_LBUTTONUP:
            printf("click %d %d\n", static_cast<short>(LOWORD(lParam)),
                   static_cast<short>(HIWORD(lParam)));
            fflush(stdout);
            PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            if (wParam == kGiveUpTimer) {
                PostQuitMessage(3);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace

int wmain() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"KorvixPaintProbe";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Korvix paint probe", WS_POPUP | WS_VISIBLE,
                                100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hWnd) {
        fprintf(stderr, "paint_probe: no window, error %lu\n", GetLastError());
        return 1;
    }
    SetTimer(hWnd, kGiveUpTimer, 60000, nullptr);
    printf("window shown\n");
    fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
