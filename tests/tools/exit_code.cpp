// exit_code PROGRAM [ARGS...]: runs a Windows program, waits for it and
// prints "exit=N" with its full exit code (a POSIX shell would see N % 256).
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: exit_code PROGRAM [ARGS...]\n");
        return 2;
    }
    std::wstring strCmd;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            strCmd += L' ';
        }
        strCmd += L'"';
        strCmd += argv[i];
        strCmd += L'"';
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &strCmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        wprintf(L"error=%lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD dwCode = 0;
    GetExitCodeProcess(pi.hProcess, &dwCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    wprintf(L"exit=%lu\n", dwCode);
    fflush(stdout);
    return 0;
}
