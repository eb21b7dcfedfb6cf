#pragma once

#include <windows.h>

#include <string>

// Bar position of a download: the file counts as 80 % of the whole road
// (bytes / (size * 10 / 8) * 100, truncated); installing adds the rest.
int DownloadPosition(DWORD nDownBytes, DWORD nFileSize);

// "<wait text><pos>% <finished text>", e.g. "Installing, please wait(45% finished.)".
std::wstring FormatProgressText(const std::wstring& strWait, int nPos,
                                const std::wstring& strFinish);
