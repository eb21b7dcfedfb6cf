#include "InstallerLaunch.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "DebugTrace.h"
#include "DownloadGlobals.h"
#include "InstallerCommandLine.h"
#include "InstallerTrust.h"
#include "MainDlg.h"
#include "UniqueHandle.h"

unsigned __stdcall RunInstallerThread(void* /*pParam*/) {
    std::wstring strPartial;
    if (!PartialFilePath(strPartial)) {
        PostToDialog(WM_DOWN_ERROR, 0, DOWN_ERR_URL);
        return 1;
    }
    const std::wstring strInstaller = InstallerFilePath();

    // The move never replaces a file, so an old installer goes first.
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (GetFileAttributesExW(strInstaller.c_str(), GetFileExInfoStandard, &attributes) &&
        !DeleteFileW(strInstaller.c_str())) {
        const DWORD dwError = GetLastError();
        KORVIX_TRACE(L"_wremove() fail!\n\r");
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return 1;
    }
    if (!MoveFileExW(strPartial.c_str(), strInstaller.c_str(), MOVEFILE_COPY_ALLOWED)) {
        PostToDialog(WM_DOWN_ERROR, GetLastError(), DOWN_ERR_SYSTEM);
        return 1;
    }
    PostToDialog(WM_DOWN_PROGRESS, 90, 0);

    // Held without write or delete sharing from the check until the child
    // has started: what runs is what was checked.
    CFileHandle checked(CreateFileW(strInstaller.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!checked) {
        const DWORD dwError = GetLastError();
        DeleteFileW(strInstaller.c_str());
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return 1;
    }
    CInstallerTrust trust(kInstallerPublisher);
    if (!trust.Verify(checked.Get(), strInstaller.c_str())) {
        wchar_t szTrace[128];
        swprintf(szTrace, 128, L"installer refused: %ls 0x%08lX\n\r", trust.Reason(),
                 static_cast<unsigned long>(trust.Code()));
        KORVIX_TRACE(szTrace);
        checked.Close();  // the delete needs it closed
        DeleteFileW(strInstaller.c_str());
        PostToDialog(WM_DOWN_ERROR, trust.Code(), DOWN_ERR_UNTRUSTED);
        return 1;
    }

    const std::wstring strCommandLine = InstallerCommandLine(g_strInstallPath);
    std::vector<wchar_t> vecCommandLine(strCommandLine.begin(), strCommandLine.end());
    vecCommandLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL bStarted =
        CreateProcessW(strInstaller.c_str(), vecCommandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    const DWORD dwStartError = GetLastError();
    checked.Close();
    if (!bStarted) {
        KORVIX_TRACE(L"CreateProcess() fail!\n\r");
        DeleteFileW(strInstaller.c_str());  // nothing of this run stays behind
        PostToDialog(WM_DOWN_ERROR, dwStartError, DOWN_ERR_SYSTEM);
        return 1;
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
        DeleteFileW(strInstaller.c_str());
        // wParam is for the diagnosis only: here the child's exit code.
        PostToDialog(WM_DOWN_ERROR, dwExitCode, DOWN_ERR_SYSTEM);
        return 1;
    }
    PostToDialog(WM_DOWN_PROGRESS, 100, 0);
    DeleteFileW(strInstaller.c_str());
    PostToDialog(WM_INSTALL_COMPLETE, 0, 0);
    return 1;
}

LRESULT CMainDlg::OnInstallCompleteMsg(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                       BOOL& /*bHandled*/) {
    ReportInstalled();
    m_nInstallState = kPageFinished;
    KillTimer(kSlideTimerId);
    ShowFinishedPage();
    return 0;
}
