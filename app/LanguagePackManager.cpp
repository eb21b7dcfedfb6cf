#include "LanguagePackManager.h"

#include "LanguagePacks.h"

CLanguagePackManager g_languagePacks;

void CLanguagePackManager::EnumerateLanguagePacks() {
    WIN32_FIND_DATAW fd = {};
    HANDLE hFind = FindFirstFileW((GetLanguagePackFolder() + L"\\*.ini").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE) {
        return;  // a missing or empty folder leaves the list empty
    }
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            continue;  // also skips "." and ".."
        }
        std::unique_ptr<_LANGUAGEPACKAGE> pPack(new _LANGUAGEPACKAGE);
        pPack->strFileName = fd.cFileName;
        pPack->strPackName = fd.cFileName;
        m_vecPacks.push_back(std::move(pPack));
    } while (FindNextFileW(hFind, &fd));
    FindClose(hFind);
}

void CLanguagePackManager::SelectLanguagePack() {
    m_strIniPath = GetLanguagePackFolder() + L"\\" + GetUiLanguageName() + L".ini";
}

UINT CLanguagePackManager::ReadProfileString(LPCWSTR pszSection, LPCWSTR pszKey, LPCWSTR pszDefault,
                                             std::wstring& strOut) const {
    // With no file name the profile reader would fall back to win.ini.
    if (m_strIniPath.empty()) {
        return 0;
    }
    wchar_t szValue[256] = {};
    DWORD nRead = GetPrivateProfileStringW(pszSection, pszKey, pszDefault, szValue, 256,
                                           m_strIniPath.c_str());
    if (nRead > 0) {
        strOut.assign(szValue, nRead);
    }
    return nRead;
}
