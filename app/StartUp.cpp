#include "StartUp.h"

#include "AnalyticsQueue.h"
#include "AppModule.h"
#include "DebugTrace.h"
#include "MainDlg.h"
#include "UniqueHandle.h"

namespace {

// How long the program's end waits for analytics events still on their way.
const DWORD kAnalyticsExitWaitMs = 10000;

}  // namespace

bool SetCompatibilityAssistantFlag() {
    CRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
                      L"Compatibility Assistant\\Persisted",
                      0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    DWORD dwValue = 1;
    const LONG lResult = RegSetValueExW(key.Get(), szPath, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    return lResult == ERROR_SUCCESS;
}

int RunMainDialog(LPWSTR /*pszCmdLine*/, int nCmdShow) {
    CMessageLoop theLoop;
    _Module.AddMessageLoop(&theLoop);

    int nResult = 0;
    {
        CMainDlg dlgMain;
        if (!dlgMain.Create(nullptr, 0)) {
            KORVIX_TRACE(L"Main dialog creation failed!\n");
        } else {
            dlgMain.ShowWindow(nCmdShow);
            nResult = theLoop.Run();
        }
    }
    _Module.RemoveMessageLoop();
    // The window is gone; an event still on its way gets a few seconds more,
    // so that a slow link does not lose the last one.
    AnalyticsQueue().WaitUntilSent(kAnalyticsExitWaitMs);
    return nResult;
}
