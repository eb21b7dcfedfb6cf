#include "TestWindow.h"

#include "MessageMap.h"

namespace {

LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CTestWindow* pThis = reinterpret_cast<CTestWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_COMMAND && pThis) {
        pThis->m_vecCommands.push_back(wParam);
        if (pThis->m_onCommand) {
            pThis->m_onCommand(wParam);
        }
        return 0;
    }
    if (uMsg == WM_APP && pThis && pThis->m_onApp) {
        pThis->m_onApp(wParam, lParam);
        return 0;
    }
    LRESULT lResult = 0;
    if (ReflectNotifications(hWnd, uMsg, wParam, lParam, lResult)) {
        return lResult;
    }
    if (uMsg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hWnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc,
                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace

CTestWindow::CTestWindow(int x, int y, int w, int h, const wchar_t* pszTitle) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"KorvixTestWindow";
    RegisterClassW(&wc);  // a second registration fails harmlessly
    m_hWnd = CreateWindowExW(0, wc.lpszClassName, pszTitle, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                             x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Pump();
}

CTestWindow::~CTestWindow() {
    DestroyWindow(m_hWnd);
    Pump();
}

HWND CTestWindow::AddChild(const wchar_t* pszClass, int nId, DWORD dwStyle, DWORD dwExStyle, int x,
                           int y, int w, int h) {
    return CreateWindowExW(dwExStyle, pszClass, L"", WS_CHILD | WS_VISIBLE | dwStyle, x, y, w, h,
                           m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)),
                           GetModuleHandleW(nullptr), nullptr);
}

void CTestWindow::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
