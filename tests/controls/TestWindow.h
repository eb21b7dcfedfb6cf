#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// A plain top-level window that hosts controls under test: it reflects
// notifications back to them, as the dialog does, and records the commands
// it receives.
class CTestWindow {
public:
    CTestWindow(int x, int y, int w, int h, const wchar_t* pszTitle);
    ~CTestWindow();
    HWND m_hWnd = nullptr;
    std::vector<WPARAM> m_vecCommands;            // wParam of each WM_COMMAND, in order
    std::function<void(WPARAM)> m_onCommand;      // called after recording, if set
    std::function<void(WPARAM, LPARAM)> m_onApp;  // WM_APP, for hosts driven from outside
    // A child button/static/etc. like the template controls.
    HWND AddChild(const wchar_t* pszClass, int nId, DWORD dwStyle, DWORD dwExStyle, int x, int y,
                  int w, int h);
    // Pumps pending messages.
    static void Pump();
};
