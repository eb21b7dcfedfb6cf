#include "ProductLaunch.h"

#include <windows.h>

#include "DesktopShell.h"

void StartProduct(const std::wstring& strInstallPath, const std::wstring& strCompany,
                  const std::wstring& strProject, const std::wstring& strProcess) {
    const std::wstring strFolder = strInstallPath + L"\\" + strCompany + L"\\" + strProject;
    SetCurrentDirectoryW(strFolder.c_str());
    // As the desktop user, not with this program's administrator token.
    OpenAsDesktopUser(strFolder + L"\\" + strProcess, strFolder);
}
