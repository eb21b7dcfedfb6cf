// post_close: posts WM_CLOSE to every visible top-level dialog (#32770)
// without a caption, as a user's close request (task bar, Alt+F4) would
// reach the installer's window. Prints how many it found.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PostToDialog(HWND hWnd, LPARAM lParam) {
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0 &&
        GetWindowTextLengthW(hWnd) == 0) {
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
