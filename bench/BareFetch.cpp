// The platform's ceiling for the benchmark: the same 40 byte ranges fetched
// with plain WinINet threads into one block of memory, nothing else (no
// window, no messages, no file). bare_fetch HOST PATH SIZE prints
// "bytes=N ms=T" and exits 0 when every range arrived whole. Like the
// installer, it loads the trusted roots before its clock starts: a one-time
// cost of the process that the installer pays while its dialog shows.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "TrustStoreWarmUp.h"

namespace {

struct Range {
    const wchar_t* pszHost;
    const wchar_t* pszPath;
    BYTE* pBuffer;
    DWORD nFirst;
    DWORD nLength;
    DWORD nGot;
};

DWORD WINAPI FetchRange(void* pParam) {
    Range& range = *static_cast<Range*>(pParam);
    HINTERNET hRoot = InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr,
                                    nullptr, 0);
    HINTERNET hConnect = InternetConnectW(hRoot, range.pszHost, INTERNET_DEFAULT_HTTPS_PORT,
                                          nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    LPCWSTR rgpszTypes[] = {L"*/*", nullptr};
    HINTERNET hRequest = HttpOpenRequestW(hConnect, L"GET", range.pszPath, L"HTTP/1.1", nullptr,
                                          rgpszTypes, 0x80CC8200, 0);
    wchar_t szRange[64];
    swprintf(szRange, 64, L"Range:bytes=%lu-%lu", range.nFirst, range.nFirst + range.nLength - 1);
    if (hRequest && HttpAddRequestHeadersW(hRequest, szRange, static_cast<DWORD>(-1L),
                                           HTTP_ADDREQ_FLAG_ADD) &&
        HttpSendRequestW(hRequest, nullptr, 0, nullptr, 0)) {
        DWORD nRead = 0;
        while (range.nGot < range.nLength &&
               InternetReadFile(hRequest, range.pBuffer + range.nGot,
                                (std::min)(range.nLength - range.nGot, 102400ul), &nRead) &&
               nRead > 0) {
            range.nGot += nRead;
        }
    }
    if (hRequest) InternetCloseHandle(hRequest);
    if (hConnect) InternetCloseHandle(hConnect);
    if (hRoot) InternetCloseHandle(hRoot);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        fwprintf(stderr, L"usage: bare_fetch HOST PATH SIZE\n");
        return 2;
    }
    const DWORD nSize = static_cast<DWORD>(_wtoi(argv[3]));
    const DWORD nChunk = nSize / 40;
    std::vector<BYTE> vecFile(nSize);
    std::vector<Range> vecRanges(40);
    std::vector<HANDLE> vecThreads;
    LoadTrustStore();
    const DWORD nStart = GetTickCount();
    for (DWORD i = 0; i < 40; ++i) {
        DWORD nLength = i == 39 ? nSize - 39 * nChunk : nChunk;
        vecRanges[i] = {argv[1], argv[2], vecFile.data() + i * nChunk, i * nChunk, nLength, 0};
        vecThreads.push_back(CreateThread(nullptr, 0, FetchRange, &vecRanges[i], 0, nullptr));
    }
    WaitForMultipleObjects(40, vecThreads.data(), TRUE, INFINITE);
    const DWORD nMs = GetTickCount() - nStart;
    unsigned long long nGot = 0;
    for (const Range& range : vecRanges) {
        nGot += range.nGot;
    }
    printf("bytes=%llu ms=%lu\n", nGot, nMs);
    fflush(stdout);
    Sleep(500);  // lets the bench read the peak memory from outside
    return nGot == nSize ? 0 : 1;
}
