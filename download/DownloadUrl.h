#pragma once

#include <string>

// Splits the download address into host and object path (the path without
// its leading "/"), after dropping an "http://" or "https://" prefix. False,
// leaving both untouched, when no "/" follows the host or there is no scheme.
bool SplitDownloadUrl(const std::wstring& strUrl, std::wstring& strHost, std::wstring& strObject);

// "setup." of ".../setup.exe": the text after the last "/" up to and
// including the last ".". False when there is no "/" or the last "." does
// not come after it.
bool DownloadBaseName(const std::wstring& strUrl, std::wstring& strBase);

// The partial file's name in the download folder (".../setup.exe" gives
// setup.down); false when the address names no file.
bool PartialFileName(const std::wstring& strUrl, std::wstring& strName);

// The installer's file name: everything after the last "/", query included.
std::wstring DownloadFileName(const std::wstring& strUrl);
