#pragma once

#include <string>

// Starts the installed product as the desktop user, in its folder. The
// product is not looked up: its place follows from the install folder and
// the product's names, as the child installer was told. The shell reports a
// missing file itself.
void StartProduct(const std::wstring& strInstallPath, const std::wstring& strCompany,
                  const std::wstring& strProject, const std::wstring& strProcess);
