#include "InstallerLaunch.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "DebugTrace.h"
#include "DownloadMessages.h"
#include "InstallerCommandLine.h"
#include "InstallerTrust.h"
#include "UniqueHandle.h"
#include "WorkerJobs.h"
#include "WorkerReports.h"

namespace {

// A failure before the installer is held for reading only: the file goes
// (it is this run's), then the report.
unsigned Fail(const InstallerJob& job, CFileHandle& file, DWORD dwError, DownError nWork) {
    if (file) {
        DeleteHeldFile(file.Get());
        file.Close();
    }
    PostFinalReport(job.hReportTo, WM_DOWN_ERROR, dwError, nWork);
    return 1;
}

}  // namespace

unsigned __stdcall RunInstallerThread(void* pParam) {
    const std::unique_ptr<InstallerJob> pJob(static_cast<InstallerJob*>(pParam));
    const CDownloadFolder& folder = *pJob->pFolder;
    DWORD dwError = 0;

    // The file the writes made, through the handle they went through, held
    // without write or delete sharing from here until the child has ended:
    // what runs is what was checked.
    CFileHandle installer(pJob->hFile);
    FileIdentity identity;
    LARGE_INTEGER start = {};
    // The check reads from the start; the writes left the handle at the end.
    if (!ReadFileIdentity(installer.Get(), identity) ||
        !SetFilePointerEx(installer.Get(), start, nullptr, FILE_BEGIN)) {
        return Fail(*pJob, installer, GetLastError(), DOWN_ERR_SYSTEM);
    }
    // The move never replaces a file, so an old installer goes first.
    if (!folder.DeleteOwnFile(pJob->strInstallerName, dwError)) {
        KORVIX_TRACE(L"_wremove() fail!\n\r");
        return Fail(*pJob, installer, dwError, DOWN_ERR_SYSTEM);
    }
    if (!folder.MoveInto(installer.Get(), pJob->strInstallerName, dwError)) {
        return Fail(*pJob, installer, dwError, DOWN_ERR_SYSTEM);
    }
    wchar_t szClock[64];
    swprintf(szClock, 64, L"installer moved (clock %llu)\n\r", UnixTimeMs());
    KORVIX_TRACE(szClock);
    PostFinalReport(pJob->hReportTo, WM_DOWN_PROGRESS, 90, 0);

    const std::wstring strInstaller = folder.Path() + L"\\" + pJob->strInstallerName;
    CInstallerTrust trust(BuildInstallerPolicy(), pJob->bPlainHttp
                                                      ? RevocationRule::kMustBeKnown
                                                      : RevocationRule::kUnknownAccepted);
    if (!trust.Verify(installer.Get(), strInstaller.c_str(), dwError)) {
        wchar_t szTrace[128];
        swprintf(szTrace, 128, L"installer refused: %ls 0x%08lX\n\r", trust.Reason(),
                 static_cast<unsigned long>(dwError));
        KORVIX_TRACE(szTrace);
        return Fail(*pJob, installer, dwError, DOWN_ERR_UNTRUSTED);
    }
    // From here on the checked file is held for reading only, as the child
    // reads itself, and is deleted afterwards by name when it is still it.
    if (!HoldForReadingOnly(installer, dwError)) {
        folder.DeleteFileOf(pJob->strInstallerName, identity);
        PostFinalReport(pJob->hReportTo, WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return 1;
    }
    auto fail = [&](DWORD dwFailure, DownError nWork) {
        installer.Close();
        folder.DeleteFileOf(pJob->strInstallerName, identity);
        PostFinalReport(pJob->hReportTo, WM_DOWN_ERROR, dwFailure, nWork);
        return 1u;
    };
    // The path handed to CreateProcessW must name the very file just checked:
    // opened anew without following a link, it is the held file.
    if (!PathNamesFile(strInstaller, installer.Get())) {
        KORVIX_TRACE(L"installer refused: its path names another file\n\r");
        return fail(ERROR_FILE_INVALID, DOWN_ERR_UNTRUSTED);
    }
    // No older release than the build's minimum: its version resource is
    // part of what was signed, read through the path that names it.
    if (!trust.CheckVersion(strInstaller.c_str(), dwError)) {
        wchar_t szTrace[128];
        swprintf(szTrace, 128, L"installer refused: %ls\n\r", trust.Reason());
        KORVIX_TRACE(szTrace);
        return fail(dwError, DOWN_ERR_UNTRUSTED);
    }
    swprintf(szClock, 64, L"installer checked (clock %llu)\n\r", UnixTimeMs());
    KORVIX_TRACE(szClock);

    const std::wstring strCommandLine = InstallerCommandLine(pJob->strInstallPath);
    std::vector<wchar_t> vecCommandLine(strCommandLine.begin(), strCommandLine.end());
    vecCommandLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // It works in the private folder, not in the folder the user started
    // this program from (Downloads).
    const BOOL bStarted =
        CreateProcessW(strInstaller.c_str(), vecCommandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED, nullptr, folder.Path().c_str(), &startup, &process);
    if (!bStarted) {
        const DWORD dwStartError = GetLastError();
        KORVIX_TRACE(L"CreateProcess() fail!\n\r");
        return fail(dwStartError, DOWN_ERR_SYSTEM);
    }
    const CKernelHandle childProcess(process.hProcess);
    const CKernelHandle childThread(process.hThread);
    ResumeThread(childThread.Get());
    WaitForSingleObject(childProcess.Get(), INFINITE);
    // Only 0 is success: a child that failed or was cancelled installed
    // nothing to start. An exit code that cannot be read counts as failure.
    DWORD dwExitCode = 0;
    const bool bInstalled = GetExitCodeProcess(childProcess.Get(), &dwExitCode) && dwExitCode == 0;

    if (!bInstalled) {
        // wParam is for the diagnosis only: here the child's exit code.
        return fail(dwExitCode, DOWN_ERR_SYSTEM);
    }
    PostFinalReport(pJob->hReportTo, WM_DOWN_PROGRESS, 100, 0);
    installer.Close();
    folder.DeleteFileOf(pJob->strInstallerName, identity);
    PostFinalReport(pJob->hReportTo, WM_INSTALL_COMPLETE, 0, 0);
    return 1;
}
