// post_close: posts WM_CLOSE to every visible top-level dialog (#32770)
// that the installer marks as its window, as a user's close request (task
// bar, Alt+F4) would reach it. Prints how many it found.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PostToDialog(HWND hWnd, LPARAM lParam) {
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0 &&
        GetPropW(hWnd, L"Velmora.Korvix.Setup.MainWindow") != nullptr) {
        PostMessageW(hWnd, WM_CLOSE, 0, 0);
        ++*reinterpret_cast<int*>(lParam);
    }
    return TRUE;
}

}  // namespace

int wmain() {
    int nFound = 0;
    EnumWindows(PostToDialog, reinterpret_cast<LPARAM>(&nFound));
    wprintf(L"posted=%d\n", nFound);
    return nFound > 0 ? 0 : 1;
}
