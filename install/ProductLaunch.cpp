#include <windows.h>

#include "DesktopShell.h"
#include "LanguagePacks.h"
#include "MainDlg.h"

// The product is not looked up: its place follows from the install folder
// and the pack's names, as the child installer was told. The shell reports a
// missing file itself; the program ends either way.
LRESULT CMainDlg::OnBtnStart(WORD /*wNotifyCode*/, WORD /*wId*/, HWND /*hWndCtl*/,
                             BOOL& /*bHandled*/) {
    const std::wstring strFolder = g_strInstallPath + L"\\" + GetLanStr(L"STR_COMPANY_NAME") +
                                   L"\\" + GetLanStr(L"STR_PROJECT_NAME");
    const std::wstring strProduct = strFolder + L"\\" + GetLanStr(L"STR_PROCESS_NAME");
    SetCurrentDirectoryW(strFolder.c_str());
    // As the desktop user, not with this program's administrator token.
    OpenAsDesktopUser(strProduct, strFolder);

    CloseDialog(kExitCodeNormal);
    return 0;
}
