#include "ShellFolder.h"

#include <windows.h>
#include <shlobj.h>

std::wstring SpecialFolderPath(int nCsidl) {
    wchar_t szPath[MAX_PATH] = {};
    IMalloc* pMalloc = nullptr;
    if (FAILED(SHGetMalloc(&pMalloc)) || !pMalloc) {
        return std::wstring();
    }
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, nCsidl, &pidl)) && pidl) {
        if (!SHGetPathFromIDListW(pidl, szPath)) {
            szPath[0] = L'\0';
        }
        pMalloc->Free(pidl);
    }
    pMalloc->Release();
    return szPath;
}
