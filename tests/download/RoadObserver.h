#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CMainDlg;

// Runs the dialog's message loop for a test and watches the reports the
// workers post to it, checking the assembly as each write completes: the
// file being assembled must end exactly where the written segment ends, and the
// segment's buffer must be gone right after. It watches at the dialog's
// window procedure, so it also sees the reports the dialog takes out of its
// queue by itself.
class CRoadObserver {
public:
    explicit CRoadObserver(CMainDlg& dlg);
    ~CRoadObserver();
    CRoadObserver(const CRoadObserver&) = delete;
    CRoadObserver& operator=(const CRoadObserver&) = delete;

    // Pumps until bDone() holds, the quit message arrives, or nTimeoutMs pass.
    bool PumpUntil(const std::function<bool()>& bDone, DWORD nTimeoutMs);
    // Pumps for nMs whatever happens (for "nothing more happens" checks).
    void PumpFor(DWORD nMs);

    std::vector<int> m_vecCompleted;    // WM_SEGMENT_COMPLETE ids, in order
    std::vector<int> m_vecWritten;      // WM_UNION_FILE_COMPLETE ids, in order
    std::vector<LPARAM> m_vecFailures;  // WM_DOWN_ERROR codes and failed segment ids, in order
    std::vector<WPARAM> m_vecErrors;    // and their Win32 errors, for the diagnosis
    std::vector<int> m_vecPositions;    // bar positions after each change
    std::vector<std::wstring> m_vecStatusTexts;  // the status line after each change
    std::vector<std::string> m_vecFaults;        // assembly checks that failed
    // Failures seen before the first byte report, and the parked list then.
    size_t m_nFailuresBeforeProgress = 0;
    std::vector<int> m_vecParkedAtFirstProgress;
    bool m_bProgressSeen = false;
    // Byte reports handled, and when the first and the last came.
    int m_nByteReports = 0;
    DWORD m_dwFirstBytesTick = 0;
    DWORD m_dwLastBytesTick = 0;
    bool m_bQuit = false;
    int m_nQuitCode = -1;
    // The download folder the program used, seen while it was open.
    std::wstring m_strDownloadFolder;

private:
    static LRESULT CALLBACK WatchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR nId, DWORD_PTR dwSelf);
    void Observe(const MSG& msg);
    void AfterDispatch(const MSG& msg);

    CMainDlg& m_dlg;
};
