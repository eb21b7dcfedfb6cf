// wininet_fetch URL [OUTFILE]: one GET through WinINet, as the program makes
// them, certificate checks on. Prints "status=N bytes=N", or "error=N" (the
// Win32 error, e.g. 12045 for an untrusted certificate) with exit code 1.
#include <windows.h>
#include <wininet.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        fwprintf(stderr, L"usage: wininet_fetch URL [OUTFILE]\n");
        return 2;
    }
    HINTERNET hInternet =
        InternetOpenW(L"wininet_fetch", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!hInternet) {
        wprintf(L"error=%lu\n", GetLastError());
        return 1;
    }
    HINTERNET hUrl = InternetOpenUrlW(hInternet, argv[1], nullptr, 0,
                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (!hUrl) {
        wprintf(L"error=%lu\n", GetLastError());
        InternetCloseHandle(hInternet);
        return 1;
    }
    DWORD dwStatus = 0;
    DWORD cbStatus = sizeof(dwStatus);
    HttpQueryInfoW(hUrl, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &dwStatus, &cbStatus,
                   nullptr);
    FILE* pOut = argc == 3 ? _wfopen(argv[2], L"wb") : nullptr;
    unsigned long long cbTotal = 0;
    char buf[65536];
    DWORD cbRead = 0;
    while (InternetReadFile(hUrl, buf, sizeof(buf), &cbRead) && cbRead > 0) {
        cbTotal += cbRead;
        if (pOut) {
            fwrite(buf, 1, cbRead, pOut);
        }
    }
    if (pOut) {
        fclose(pOut);
    }
    InternetCloseHandle(hUrl);
    InternetCloseHandle(hInternet);
    wprintf(L"status=%lu bytes=%llu\n", dwStatus, cbTotal);
    return 0;
}
