#include <windows.h>
#include <commctrl.h>
#include <crtdbg.h>

#include "AppModule.h"
#include "ComApartment.h"
#include "GdiplusSession.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "SingleInstance.h"
#include "AnalyticsQueue.h"
#include "StartUp.h"
#include "SystemLibrary.h"
#include "TrustStoreWarmUp.h"

// How long the program's end waits for analytics events still on their way.
const DWORD kAnalyticsExitWaitMs = 10000;

// The order of these steps matters; the command line is passed on, never read.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR pszCmdLine,
                    int nCmdShow) {
    // Before any DLL is loaded: the program runs elevated from a folder that
    // others write to.
    RestrictDllSearchToSystem32();

    // Before anything is written: a second copy would rewrite the packs the
    // first one reads, and fight over its partial file.
    CSingleInstance instance;
    if (!instance.IsFirst()) {
        CSingleInstance::BringRunningCopyToFront();
        return kExitCodeNormal;
    }

    CComApartment com;
    _ASSERTE(SUCCEEDED(com.Result()));
    CGdiplusSession gdiplus;

    SetCompatibilityAssistantFlag();
    ExtractLanguagePacks();
    InitLanguage();

    DefWindowProcW(nullptr, 0, 0, 0);

    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    BOOL bCommonControls = InitCommonControlsEx(&icc);
    _ASSERTE(bCommonControls);
    (void)bCommonControls;

    HRESULT hr = _Module.Init(nullptr, hInstance);
    _ASSERTE(SUCCEEDED(hr));
    (void)hr;

    WarmUpTrustStore();
    int nResult = RunMainDialog(pszCmdLine, nCmdShow);
    // The window is gone: a copy the user starts now must run, not find this
    // one's name and end without a window. An analytics event still on its
    // way gets a few seconds more, so that a slow link does not lose it.
    instance.Release();
    AnalyticsQueue().WaitUntilSent(kAnalyticsExitWaitMs);

    _Module.Term();
    return nResult;
}
