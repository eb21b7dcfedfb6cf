// desktop_keeper: keeps the test's desktop, and with it the desktop's shell,
// for as long as the test runs, as Windows' own shell is there before and
// after any program. Wine closes a desktop a second after the last program
// on it has ended, and its explorer (which answers for the desktop shell)
// quits with it; the next program starts another, which registers the shell
// a while later. A test that runs the program several times met that gap.
// Prints "ready" once the desktop's shell answers (within two minutes), then
// waits until it is ended.
#include <windows.h>

#include <exdisp.h>
#include <shlguid.h>

#include <cstdio>

int wmain() {
    GetDesktopWindow();  // this thread now uses the desktop (and starts its explorer)
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    HRESULT hr = E_FAIL;
    for (int nTry = 0; nTry < 600 && FAILED(hr); ++nTry) {
        IShellWindows* pWindows = nullptr;
        hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              reinterpret_cast<void**>(&pWindows));
        if (SUCCEEDED(hr)) {
            pWindows->Release();
        } else {
            Sleep(200);
        }
    }
    wprintf(SUCCEEDED(hr) ? L"ready\n" : L"no shell 0x%08lX\n", static_cast<unsigned long>(hr));
    fflush(stdout);
    for (;;) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            break;
        }
        DispatchMessageW(&msg);
    }
    CoUninitialize();
    return 0;
}
