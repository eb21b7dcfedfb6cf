#include "SingleInstance.h"

const wchar_t kMainWindowProp[] = L"Velmora.Korvix.Setup.MainWindow";

namespace {

const wchar_t kMutexName[] = L"Local\\Velmora.Korvix.Setup";

BOOL CALLBACK FindMarkedWindow(HWND hWnd, LPARAM lParam) {
    if (GetPropW(hWnd, kMainWindowProp) != nullptr) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

CSingleInstance::CSingleInstance() : m_bFirst(true) {
    SetLastError(ERROR_SUCCESS);
    m_mutex.Attach(CreateMutexW(nullptr, FALSE, kMutexName));
    const DWORD dwError = GetLastError();
    // A name held by a copy that may not share it (access denied) is taken
    // too. Any other failure tells nothing: this copy runs, as it would have.
    m_bFirst = dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_ACCESS_DENIED;
}

void CSingleInstance::BringRunningCopyToFront() {
    // A hidden window is listed too. The running copy may still be starting
    // and have no window yet: it comes to the front by itself then.
    HWND hWnd = nullptr;
    EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&hWnd));
    if (!hWnd) {
        return;
    }
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    AllowSetForegroundWindow(dwProcessId);
    PostMessageW(hWnd, WM_BRING_TO_FRONT, 0, 0);
}
