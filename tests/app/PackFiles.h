#pragma once

#include <windows.h>

#include <string>

// Small file helpers shared by the language-pack tests.
std::string ReadWholeFile(const std::wstring& strPath);
void WriteWholeFile(const std::wstring& strPath, const std::string& strBytes);
std::string ResourceBytes(int nId, LPCWSTR pszType);
// A fresh, empty folder under the temp folder, named after the test.
std::wstring MakeScratchFolder(const wchar_t* pszName);
// UTF-16LE with BOM and CR LF, as the packs are stored.
std::string EncodeIni(const std::wstring& strText);
