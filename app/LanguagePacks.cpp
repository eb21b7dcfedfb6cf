#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cwchar>

#include "LanguagePackManager.h"
#include "LanguagePacks.h"
#include "UiLanguage.h"

namespace {

const wchar_t kPackResourceType[] = L"INI";
const wchar_t kPackFolderParent[] = L"\\velmora_down\\";

// Writes one pack file whole, or leaves none: a half-written pack would give
// cut texts and addresses, where a missing one gives the empty string.
void WritePackFile(const std::wstring& strPath, const void* pData, DWORD cbData) {
    FILE* pFile = _wfopen(strPath.c_str(), L"wb");
    if (!pFile) {
        return;
    }
    bool bWritten = fwrite(pData, 1, cbData, pFile) == cbData;
    bWritten = (fclose(pFile) == 0) && bWritten;
    if (!bWritten) {
        _wremove(strPath.c_str());
    }
}

}  // namespace

std::wstring UiLanguageNameFromId(LANGID wLangId) {
    return FindUiLanguage(wLangId).pszPack;
}

std::wstring GetUiLanguageName() {
    return UiLanguageNameFromId(GetUserDefaultUILanguage());
}

std::wstring GetLanguagePackFileName(int nId) {
    switch (nId) {
        case 254:
            return L"\\Chinese.ini";
        case 255:
            return L"\\ChineseTW.ini";
        case 256:
            return L"\\Dutch.ini";
        case 257:
            return L"\\French.ini";
        case 258:
            return L"\\German.ini";
        case 259:
            return L"\\Italian.ini";
        case 260:
            return L"\\Japanese.ini";
        case 261:
            return L"\\Portuguese.ini";
        case 262:
            return L"\\Spanish.ini";
        default:  // 253 and anything unknown
            return L"\\English.ini";
    }
}

std::wstring LanguagePackFolderStem(LPCWSTR pszModulePath) {
    std::wstring strName = PathFindFileNameW(pszModulePath);
    std::wstring::size_type nDot = strName.rfind(L'.');
    if (nDot != std::wstring::npos) {
        strName.erase(nDot);
    }
    return strName;
}

std::wstring GetLanguagePackFolder() {
    wchar_t szProgramFiles[MAX_PATH] = {};
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAM_FILES, &pidl)) && pidl) {
        if (!SHGetPathFromIDListW(pidl, szProgramFiles)) {
            szProgramFiles[0] = L'\0';
        }
        CoTaskMemFree(pidl);
    }
    wchar_t szModule[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    return std::wstring(szProgramFiles) + kPackFolderParent + LanguagePackFolderStem(szModule);
}

void WriteLanguagePacks(HMODULE hModule, const std::wstring& strFolder) {
    for (int nId = kFirstLanguagePackId; nId <= kLastLanguagePackId; ++nId) {
        HRSRC hInfo = FindResourceW(hModule, MAKEINTRESOURCEW(nId), kPackResourceType);
        if (!hInfo) {
            continue;  // ids without an embedded pack get no file
        }
        DWORD cbPack = SizeofResource(hModule, hInfo);
        HGLOBAL hPack = LoadResource(hModule, hInfo);
        const void* pPack = hPack ? LockResource(hPack) : nullptr;
        if (!pPack || cbPack == 0) {
            continue;
        }
        // An existing folder is fine; any other failure shows up as the open
        // below failing.
        SHCreateDirectory(nullptr, strFolder.c_str());
        WritePackFile(strFolder + GetLanguagePackFileName(nId), pPack, cbPack);
    }
}

void ExtractLanguagePacks() {
    WriteLanguagePacks(GetModuleHandleW(nullptr), GetLanguagePackFolder());
}

void InitLanguage() {
    g_languagePacks.EnumerateLanguagePacks();
    g_languagePacks.SelectLanguagePack();
}

std::wstring GetLanStr(LPCWSTR pszKey) {
    std::wstring strValue;
    g_languagePacks.ReadProfileString(L"LANSTR", pszKey, L"", strValue);
    return strValue;
}
