// The platform's ceiling for the benchmark: the same 40 byte ranges fetched
// with plain WinINet threads into memory, nothing else (no window, no
// messages, no file). bare_fetch HOST PATH SIZE [size-query] [write]
// [preconfig] prints "bytes=N ms=T first=F end=E" (F: when the first answer's
// headers were in, in ms on the clock; E: when it ended, in Unix
// milliseconds) and exits 0 when every range arrived whole. Like the installer, it loads the
// trusted roots before its clock starts (a one-time cost of the process that the installer pays
// while its dialog shows), and takes each range's memory once its clock runs, untouched, as the
// installer does once it knows the size. With "size-query", a GET for the whole file comes first,
// in its own thread: its length is read, its body never, and the handles are closed while the
// ranges run, as the installer's size query does. With "write", the ranges
// are also appended in order to a new file in the public documents folder as
// they arrive, each flushed and then freed, with the installer's write calls,
// by one thread that waits on each range in turn: the least the installer's
// in-order assembly can cost, with no window, no messages and no thread per
// write. The clock stops when the file closes. With "preconfig", WinINet is
// opened as the installer opens it when the user's settings name any proxy,
// auto-detection included (INTERNET_OPEN_TYPE_PRECONFIG), else as it opens
// it with none set.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "BlockWrite.h"
#include "TrustStoreWarmUp.h"
#include "WinInetRequest.h"

namespace {

DWORD g_dwAccess = INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
DWORD g_nStart = 0;
volatile LONG g_nFirstAnswer = 0;  // 1 + ms on the clock when the first headers were in

void NoteAnswer() {
    InterlockedCompareExchange(&g_nFirstAnswer, static_cast<LONG>(GetTickCount() - g_nStart + 1),
                               0);
}

// One GET for the file, opened as the installer opens its requests and closed
// in its order (request, connection, root) when it goes out of scope.
struct FileRequest {
    HINTERNET hRoot;
    HINTERNET hConnect = nullptr;
    HINTERNET hRequest = nullptr;

    FileRequest(const wchar_t* pszHost, const wchar_t* pszPath)
        : hRoot(InternetOpenW(L"", g_dwAccess, nullptr, nullptr, 0)) {
        hConnect = InternetConnectW(hRoot, pszHost, INTERNET_DEFAULT_HTTPS_PORT, nullptr, nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0);
        LPCWSTR rgpszTypes[] = {L"*/*", nullptr};
        hRequest = HttpOpenRequestW(hConnect, L"GET", pszPath, L"HTTP/1.1", nullptr, rgpszTypes,
                                    CWinInetRequest::kRequestFlags, 0);
    }
    ~FileRequest() {
        if (hRequest)
            InternetCloseHandle(hRequest);
        if (hConnect)
            InternetCloseHandle(hConnect);
        if (hRoot)
            InternetCloseHandle(hRoot);
    }
    FileRequest(const FileRequest&) = delete;
    FileRequest& operator=(const FileRequest&) = delete;
};

struct Range {
    const wchar_t* pszHost;
    const wchar_t* pszPath;
    BYTE* pBuffer;
    DWORD nFirst;
    DWORD nLength;
    DWORD nGot;
    // Set when the range is whole or has failed, before its handles close:
    // the installer, too, reports a segment before closing its request.
    HANDLE hDone;
};

DWORD WINAPI FetchRange(void* pParam) {
    Range& range = *static_cast<Range*>(pParam);
    FileRequest request(range.pszHost, range.pszPath);
    wchar_t szRange[64];
    swprintf(szRange, 64, L"Range:bytes=%lu-%lu", range.nFirst, range.nFirst + range.nLength - 1);
    if (request.hRequest &&
        HttpAddRequestHeadersW(request.hRequest, szRange, static_cast<DWORD>(-1L),
                               HTTP_ADDREQ_FLAG_ADD) &&
        HttpSendRequestW(request.hRequest, nullptr, 0, nullptr, 0)) {
        NoteAnswer();
        DWORD nRead = 0;
        while (range.nGot < range.nLength &&
               InternetReadFile(request.hRequest, range.pBuffer + range.nGot,
                                (std::min)(range.nLength - range.nGot, 102400ul), &nRead) &&
               nRead > 0) {
            range.nGot += nRead;
        }
    }
    SetEvent(range.hDone);
    return 0;
}

struct SizeQuery {
    const wchar_t* pszHost;
    const wchar_t* pszPath;
    HANDLE hAnswered;  // set once the length is known, before the handles close
    DWORD nSize;
};

DWORD WINAPI QuerySize(void* pParam) {
    SizeQuery& query = *static_cast<SizeQuery*>(pParam);
    FileRequest request(query.pszHost, query.pszPath);
    wchar_t szLength[40] = {};
    DWORD nLength = sizeof(szLength);
    if (request.hRequest && HttpSendRequestW(request.hRequest, nullptr, 0, nullptr, 0) &&
        HttpQueryInfoW(request.hRequest, HTTP_QUERY_CONTENT_LENGTH, szLength, &nLength, nullptr)) {
        NoteAnswer();
        query.nSize = static_cast<DWORD>(_wtoi(szLength));
    }
    SetEvent(query.hAnswered);
    return 0;  // the handles close here, with the body unread
}

// Appends the ranges in order as they arrive, each flushed, then freed.
bool WriteInOrder(std::vector<Range>& vecRanges) {
    wchar_t szPath[MAX_PATH] = {};
    GetEnvironmentVariableW(L"PUBLIC", szPath, MAX_PATH);
    wcscat(szPath, L"\\Documents\\bare-fetch.down");
    HANDLE hFile = CreateFileW(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        fwprintf(stderr, L"cannot create %ls: %lu\n", szPath, GetLastError());
        return false;
    }
    bool bWritten = true;
    for (Range& range : vecRanges) {
        WaitForSingleObject(range.hDone, INFINITE);
        DWORD dwError = 0;
        if (range.nGot != range.nLength ||
            !WriteInBlocks(hFile, range.pBuffer, range.nLength, dwError)) {
            bWritten = false;
            break;
        }
        FlushFileBuffers(hFile);
        free(range.pBuffer);
        range.pBuffer = nullptr;
    }
    CloseHandle(hFile);
    DeleteFileW(szPath);
    return bWritten;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool bSizeQuery = false;
    bool bWrite = false;
    bool bPreconfig = false;
    for (int i = 4; i < argc; ++i) {
        bSizeQuery = bSizeQuery || wcscmp(argv[i], L"size-query") == 0;
        bWrite = bWrite || wcscmp(argv[i], L"write") == 0;
        bPreconfig = bPreconfig || wcscmp(argv[i], L"preconfig") == 0;
    }
    if (argc < 4 || argc - 4 != int(bSizeQuery) + int(bWrite) + int(bPreconfig)) {
        fwprintf(stderr, L"usage: bare_fetch HOST PATH SIZE [size-query] [write] [preconfig]\n");
        return 2;
    }
    if (bPreconfig) {
        g_dwAccess = INTERNET_OPEN_TYPE_PRECONFIG;
    }
    const DWORD nSize = static_cast<DWORD>(_wtoi(argv[3]));
    const DWORD nChunk = nSize / 40;
    std::vector<Range> vecRanges(40);
    std::vector<HANDLE> vecThreads;
    LoadTrustStore();
    const DWORD nStart = GetTickCount();
    g_nStart = nStart;
    if (bSizeQuery) {
        static SizeQuery s_query;  // static: its thread still closes while the ranges run
        s_query = {argv[1], argv[2], CreateEventW(nullptr, TRUE, FALSE, nullptr), 0};
        CloseHandle(CreateThread(nullptr, 0, QuerySize, &s_query, 0, nullptr));
        WaitForSingleObject(s_query.hAnswered, INFINITE);
        if (s_query.nSize != nSize) {
            fwprintf(stderr, L"the size query answered %lu\n", s_query.nSize);
            return 1;
        }
    }
    for (DWORD i = 0; i < 40; ++i) {
        DWORD nLength = i == 39 ? nSize - 39 * nChunk : nChunk;
        BYTE* pBuffer = static_cast<BYTE*>(malloc(nLength));
        vecRanges[i] = {argv[1],
                        argv[2],
                        pBuffer,
                        i * nChunk,
                        nLength,
                        0,
                        CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        vecThreads.push_back(CreateThread(nullptr, 0, FetchRange, &vecRanges[i], 0, nullptr));
    }
    const bool bWritten = !bWrite || WriteInOrder(vecRanges);
    WaitForMultipleObjects(40, vecThreads.data(), TRUE, INFINITE);
    const DWORD nMs = GetTickCount() - nStart;
    FILETIME ftEnd = {};
    GetSystemTimeAsFileTime(&ftEnd);
    const unsigned long long nEnd =
        ((static_cast<unsigned long long>(ftEnd.dwHighDateTime) << 32 | ftEnd.dwLowDateTime) -
         116444736000000000ull) /
        10000;
    unsigned long long nGot = 0;
    for (const Range& range : vecRanges) {
        nGot += range.nGot;
    }
    printf("bytes=%llu ms=%lu first=%ld end=%llu\n", nGot, nMs, g_nFirstAnswer - 1, nEnd);
    fflush(stdout);
    Sleep(500);  // lets the bench read the peak memory from outside
    return nGot == nSize && bWritten ? 0 : 1;
}
