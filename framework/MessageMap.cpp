#include "MessageMap.h"

namespace {

// The child a notification comes from, or null.
HWND NotifyingChild(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_COMMAND:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY:
            return reinterpret_cast<LPNMHDR>(lParam)->hwndFrom;
        case WM_PARENTNOTIFY:
            switch (LOWORD(wParam)) {
                case WM_CREATE:
                case WM_DESTROY:
                    return reinterpret_cast<HWND>(lParam);
                default:
                    return ::GetDlgItem(hWnd, HIWORD(wParam));
            }
        case WM_DRAWITEM:
            return wParam ? reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem : nullptr;
        case WM_MEASUREITEM:
            return wParam ? ::GetDlgItem(hWnd, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)->CtlID)
                          : nullptr;
        case WM_COMPAREITEM:
            return wParam ? reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem : nullptr;
        case WM_DELETEITEM:
            return wParam ? reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

BOOL ReflectNotifications(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    HWND hWndChild = NotifyingChild(hWnd, uMsg, wParam, lParam);
    if (!hWndChild || !::IsWindow(hWndChild)) {
        return FALSE;
    }
    lResult = ::SendMessageW(hWndChild, OCM__BASE + uMsg, wParam, lParam);
    return TRUE;
}

BOOL DefaultReflectionHandler(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                              LRESULT& lResult) {
    switch (uMsg) {
        case OCM__BASE + WM_COMMAND:
        case OCM__BASE + WM_NOTIFY:
        case OCM__BASE + WM_PARENTNOTIFY:
        case OCM__BASE + WM_DRAWITEM:
        case OCM__BASE + WM_MEASUREITEM:
        case OCM__BASE + WM_COMPAREITEM:
        case OCM__BASE + WM_DELETEITEM:
        case OCM__BASE + WM_VKEYTOITEM:
        case OCM__BASE + WM_CHARTOITEM:
        case OCM__BASE + WM_HSCROLL:
        case OCM__BASE + WM_VSCROLL:
        case OCM__BASE + WM_CTLCOLORBTN:
        case OCM__BASE + WM_CTLCOLORDLG:
        case OCM__BASE + WM_CTLCOLOREDIT:
        case OCM__BASE + WM_CTLCOLORLISTBOX:
        case OCM__BASE + WM_CTLCOLORMSGBOX:
        case OCM__BASE + WM_CTLCOLORSCROLLBAR:
        case OCM__BASE + WM_CTLCOLORSTATIC:
            lResult = ::DefWindowProcW(hWnd, uMsg - OCM__BASE, wParam, lParam);
            return TRUE;
        default:
            return FALSE;
    }
}
