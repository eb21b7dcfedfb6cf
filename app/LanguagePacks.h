#pragma once

#include <windows.h>

#include <string>

// Pack resources: type "INI", ids 253 to 262; six of them are embedded.
const int kFirstLanguagePackId = 253;
const int kLastLanguagePackId = 262;

// Writes every embedded pack of the program into the pack folder. Best effort:
// a folder or file that cannot be written is skipped without a word.
void ExtractLanguagePacks();
// Lists the pack folder, then selects the pack of the UI language.
void InitLanguage();

// Program Files, "\velmora_down\", then the program's file-name stem.
std::wstring GetLanguagePackFolder();
// The file name of a pack id, with its leading backslash ("\English.ini").
std::wstring GetLanguagePackFileName(int nId);
// The pack name of the user's interface language ("German", "English", ...).
std::wstring GetUiLanguageName();
// The text of a STR_* key in the selected pack, or "" when there is none.
std::wstring GetLanStr(LPCWSTR pszKey);

// Pure pieces of the above, kept apart so they can be checked on their own.
std::wstring UiLanguageNameFromId(LANGID wLangId);
std::wstring LanguagePackFolderStem(LPCWSTR pszModulePath);
void WriteLanguagePacks(HMODULE hModule, const std::wstring& strFolder);
