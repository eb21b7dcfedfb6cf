#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "LanguagePackage.h"

// The process-wide language pack state: the packs found on disk and the one
// selected for this run. m_strIniPath is written once during start-up, before
// any worker thread exists, and only read afterwards, so readers need no lock.
class CLanguagePackManager {
public:
    CLanguagePackManager() = default;
    CLanguagePackManager(const CLanguagePackManager&) = delete;
    CLanguagePackManager& operator=(const CLanguagePackManager&) = delete;

    // Lists "*.ini" in the pack folder into m_vecPacks, in search order.
    void EnumerateLanguagePacks();
    // Points m_strIniPath at the pack of the user's interface language.
    void SelectLanguagePack();
    // Reads one value of the selected pack; values are cut to 255 characters.
    // strOut is set only when something was read; returns the count read.
    UINT ReadProfileString(LPCWSTR pszSection, LPCWSTR pszKey, LPCWSTR pszDefault,
                           std::wstring& strOut) const;

    std::vector<std::unique_ptr<_LANGUAGEPACKAGE>> m_vecPacks;
    std::wstring m_strIniPath;
};

extern CLanguagePackManager g_languagePacks;
