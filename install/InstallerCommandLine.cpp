#include "InstallerCommandLine.h"

std::wstring InstallerCommandLine(const std::wstring& strInstallPath) {
    return L" /verysilent /velmora_down /path=\"" + strInstallPath + L"\"";
}
