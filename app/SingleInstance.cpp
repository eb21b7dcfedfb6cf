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

CSingleInstance::CSingleInstance()
    : m_hMutex(CreateMutexW(nullptr, FALSE, kMutexName)),
      m_bFirst(m_hMutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
    // Without a mutex nothing can be told: this copy runs, as it would have.
}

CSingleInstance::~CSingleInstance() {
    if (m_hMutex) {
        CloseHandle(m_hMutex);
    }
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
