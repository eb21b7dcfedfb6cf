#include "PackFiles.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

std::string ReadWholeFile(const std::wstring& strPath) {
    std::string strBytes;
    FILE* pFile = _wfopen(strPath.c_str(), L"rb");
    if (!pFile) {
        return strBytes;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), pFile)) > 0) {
        strBytes.append(buf, n);
    }
    fclose(pFile);
    return strBytes;
}

void WriteWholeFile(const std::wstring& strPath, const std::string& strBytes) {
    FILE* pFile = _wfopen(strPath.c_str(), L"wb");
    if (pFile) {
        fwrite(strBytes.data(), 1, strBytes.size(), pFile);
        fclose(pFile);
    }
}

std::string ResourceBytes(int nId, LPCWSTR pszType) {
    HRSRC hInfo = FindResourceW(nullptr, MAKEINTRESOURCEW(nId), pszType);
    if (!hInfo) {
        return std::string();
    }
    HGLOBAL hData = LoadResource(nullptr, hInfo);
    const char* pData = static_cast<const char*>(LockResource(hData));
    return std::string(pData, SizeofResource(nullptr, hInfo));
}

std::wstring MakeScratchFolder(const wchar_t* pszName) {
    wchar_t szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    std::wstring strFolder = std::wstring(szTemp) + L"korvix-tests\\" + pszName;
    // SHFileOperation wants a double-null-terminated list.
    std::wstring strFrom = strFolder + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = strFrom.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
    SHCreateDirectory(nullptr, strFolder.c_str());
    return strFolder;
}

std::string EncodeIni(const std::wstring& strText) {
    std::string strBytes("\xFF\xFE", 2);
    for (wchar_t ch : strText) {
        if (ch == L'\n') {
            strBytes.append("\r\0\n\0", 4);
            continue;
        }
        strBytes.push_back(static_cast<char>(ch & 0xFF));
        strBytes.push_back(static_cast<char>((ch >> 8) & 0xFF));
    }
    return strBytes;
}
