#include <windows.h>
#include <commctrl.h>
#include <crtdbg.h>

#include "AppModule.h"
#include "ComApartment.h"
#include "GdiplusSession.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "SingleInstance.h"
#include "StartUp.h"
#include "SystemLibrary.h"
#include "TrustStoreWarmUp.h"

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

    _Module.Term();
    return nResult;
}
