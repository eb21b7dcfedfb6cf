#include "DownloadProgress.h"

#include <cwchar>

int DownloadPosition(DWORD nDownBytes, DWORD nFileSize) {
    // size * 10 / 8 in 64 bits: a 32-bit product would wrap above 429 MB.
    const unsigned long long nDivisor = static_cast<unsigned long long>(nFileSize) * 10 / 8;
    if (nDivisor == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(nDownBytes) / static_cast<double>(nDivisor) *
                            100.0);
}

std::wstring FormatProgressText(const std::wstring& strWait, int nPos,
                                const std::wstring& strFinish) {
    wchar_t szPos[32] = {};
    swprintf(szPos, 32, L"%d%% ", nPos);
    return strWait + szPos + strFinish;
}
