#include <windows.h>
#include <cwchar>

#include "DebugTrace.h"

void DebugTraceLine(const char* pszFile, int nLine, const wchar_t* pszText) {
    // A trace between a failing call and its GetLastError() changes nothing.
    const DWORD dwLastError = GetLastError();
    wchar_t szLine[1024];
    // %hs: the file name is the compiler's narrow __FILE__.
    int n = swprintf(szLine, sizeof(szLine) / sizeof(szLine[0]), L"%hs(%d): %ls", pszFile, nLine,
                     pszText);
    if (n < 0) {
        szLine[sizeof(szLine) / sizeof(szLine[0]) - 1] = L'\0';
    }
    OutputDebugStringW(szLine);
    SetLastError(dwLastError);
}

unsigned long long UnixTimeMs() {
    FILETIME ft = {};
    GetSystemTimeAsFileTime(&ft);
    const unsigned long long n100ns =
        static_cast<unsigned long long>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
    return (n100ns - 116444736000000000ull) / 10000;  // from 1601 in 100 ns to 1970 in ms
}
