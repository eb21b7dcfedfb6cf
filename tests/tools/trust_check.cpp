// trust_check FILE [plain-http]: the installer's signature and version check
// of FILE alone, as the installer's worker makes it (the test builds' policy;
// with "plain-http" as after the fallback), after the trusted roots are
// loaded, as the program loads them at start-up. Prints "ms=T verified=0|1
// reason=R" (T: the check's wall time).
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "InstallerTrust.h"
#include "TrustStoreWarmUp.h"

int wmain(int argc, wchar_t** argv) {
    const bool bPlainHttp = argc == 3 && wcscmp(argv[2], L"plain-http") == 0;
    if (argc != 2 && !bPlainHttp) {
        fwprintf(stderr, L"usage: trust_check FILE [plain-http]\n");
        return 2;
    }
    LoadTrustStore();
    HANDLE hFile = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        fwprintf(stderr, L"cannot open %ls: %lu\n", argv[1], GetLastError());
        return 2;
    }
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CInstallerTrust trust(BuildInstallerPolicy(), bPlainHttp ? RevocationRule::kMustBeKnown
                                                             : RevocationRule::kUnknownAccepted);
    DWORD dwError = 0;
    const bool bVerified =
        trust.Verify(hFile, argv[1], dwError) && trust.CheckVersion(argv[1], dwError);
    QueryPerformanceCounter(&end);
    CloseHandle(hFile);
    printf("ms=%.1f verified=%d reason=%ls\n",
           (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart, bVerified ? 1 : 0,
           bVerified ? L"" : trust.Reason());
    return bVerified ? 0 : 1;
}
