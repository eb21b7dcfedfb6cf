#include "StartUp.h"

#include "AppModule.h"
#include "DebugTrace.h"
#include "MainDlg.h"
#include "UniqueHandle.h"

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
    return nResult;
}
