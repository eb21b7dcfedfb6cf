#include <windows.h>
#include <shellapi.h>

#include "LanguagePacks.h"
#include "MainDlg.h"

// The product is not looked up: its place follows from the install folder
// and the pack's names, as the child installer was told. The shell reports a
// missing file itself (mask 0); the program ends either way.
LRESULT CMainDlg::OnBtnStart(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                             BOOL& /*bHandled*/) {
    const std::wstring strFolder = g_strInstallPath + L"\\" + GetLanStr(L"STR_COMPANY_NAME") +
                                   L"\\" + GetLanStr(L"STR_PROJECT_NAME");
    const std::wstring strProduct = strFolder + L"\\" + GetLanStr(L"STR_PROCESS_NAME");
    SetCurrentDirectoryW(strFolder.c_str());

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = 0;
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = strProduct.c_str();
    info.lpParameters = L"";
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);

    CloseDialog(kExitCodeNormal);
    return 0;
}
