#include "ProductLaunch.h"

#include <windows.h>

std::wstring ProductFolder(const std::wstring& strInstallPath, const std::wstring& strCompany,
                           const std::wstring& strProject) {
    return strInstallPath + L"\\" + strCompany + L"\\" + strProject;
}

bool StartProduct(const std::wstring& strFolder, const std::wstring& strProcess,
                  DesktopShellOpen pfnOpen) {
    SetCurrentDirectoryW(strFolder.c_str());
    // As the desktop user, not with this program's administrator token.
    return OpenAsDesktopUser(strFolder + L"\\" + strProcess, strFolder, pfnOpen);
}
