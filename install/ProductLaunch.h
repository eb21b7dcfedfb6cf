#pragma once

#include <string>

#include "DesktopShell.h"

// Where the child installer put the product: the install folder, the
// company's folder and the product's. Not looked up: it follows from the
// install folder and the product's names, as the child installer was told.
std::wstring ProductFolder(const std::wstring& strInstallPath, const std::wstring& strCompany,
                           const std::wstring& strProject);

// Starts strProcess in strFolder as the desktop user, in its folder; false
// when the desktop shell could not be asked (nothing started). The shell
// reports a missing file itself.
bool StartProduct(const std::wstring& strFolder, const std::wstring& strProcess,
                  DesktopShellOpen pfnOpen = OpenWithDesktopShell);
