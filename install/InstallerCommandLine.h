#pragma once

#include <string>

// What the child installer receives (its path goes separately, as the
// application name): " /verysilent /velmora_down /path=" and the folder in
// double quotes, exactly as held.
std::wstring InstallerCommandLine(const std::wstring& strInstallPath);
