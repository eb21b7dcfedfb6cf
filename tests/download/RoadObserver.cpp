#include "RoadObserver.h"

#include <commctrl.h>

#include "DownloadMessages.h"
#include "MainDlg.h"
#include "SegmentInfo.h"

namespace {

long long FileSizeOf(HANDLE hFile) {
    LARGE_INTEGER nSize = {};
    return GetFileSizeEx(hFile, &nSize) ? nSize.QuadPart : -1;
}

}  // namespace

CRoadObserver::CRoadObserver(CMainDlg& dlg) : m_dlg(dlg) {
    SetWindowSubclass(m_dlg.m_hWnd, WatchProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

CRoadObserver::~CRoadObserver() {
    if (IsWindow(m_dlg.m_hWnd)) {
        RemoveWindowSubclass(m_dlg.m_hWnd, WatchProc, 0);
    }
}

LRESULT CALLBACK CRoadObserver::WatchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR /*nId*/, DWORD_PTR dwSelf) {
    CRoadObserver& self = *reinterpret_cast<CRoadObserver*>(dwSelf);
    const MSG msg = {hWnd, uMsg, wParam, lParam, 0, {}};
    self.Observe(msg);
    LRESULT lResult = DefSubclassProc(hWnd, uMsg, wParam, lParam);
    self.AfterDispatch(msg);
    return lResult;
}

void CRoadObserver::Observe(const MSG& msg) {
    const CInstallController& controller = m_dlg.m_controller;
    if (controller.m_downloadFolder.IsOpen()) {
        m_strDownloadFolder = controller.m_downloadFolder.Path();
    }
    if (msg.message == WM_DOWN_ERROR || msg.message == WM_SEGMENT_FAILED) {
        m_vecFailures.push_back(msg.lParam);
        m_vecErrors.push_back(msg.wParam);
        if (!m_bProgressSeen) {
            ++m_nFailuresBeforeProgress;
        }
    } else if (msg.message == WM_DOWN_PROGRESS && msg.wParam == 0) {
        if (!m_bProgressSeen) {
            m_bProgressSeen = true;
            m_vecParkedAtFirstProgress = controller.m_vecFailed;
            m_dwFirstBytesTick = GetTickCount();
        }
        ++m_nByteReports;
        m_dwLastBytesTick = GetTickCount();
    } else if (msg.message == WM_SEGMENT_COMPLETE) {
        m_vecCompleted.push_back(static_cast<int>(msg.lParam));
    } else if (msg.message == WM_UNION_FILE_COMPLETE) {
        int nId = static_cast<int>(msg.lParam);
        m_vecWritten.push_back(nId);
        // The writer of nId has finished and no other may have started.
        if (controller.m_pSegments) {
            const SegmentInfo& segment = controller.m_pSegments[nId];
            long long nEnd = static_cast<long long>(segment.nOffset) + segment.nLength;
            long long nOnDisk = FileSizeOf(controller.m_hDownFile.Get());
            if (nOnDisk != nEnd) {
                m_vecFaults.push_back("segment " + std::to_string(nId) + " written: file has " +
                                      std::to_string(nOnDisk) + " bytes, expected " +
                                      std::to_string(nEnd));
            }
        }
    }
}

void CRoadObserver::AfterDispatch(const MSG& msg) {
    const CInstallController& controller = m_dlg.m_controller;
    if (msg.message == WM_UNION_FILE_COMPLETE) {
        int nId = static_cast<int>(msg.lParam);
        if (controller.m_pSegments && controller.m_pSegments[nId].pBuffer != nullptr) {
            m_vecFaults.push_back("buffer of segment " + std::to_string(nId) +
                                  " kept after its write");
        }
        if (nId == SEGMENT_COUNT - 1 && controller.m_pSegments != nullptr) {
            m_vecFaults.push_back("segment table kept after the last write");
        }
    } else if (msg.message == WM_DOWN_PROGRESS) {
        int nPos = m_dlg.m_progress.GetPos();
        if (m_vecPositions.empty() || m_vecPositions.back() != nPos) {
            m_vecPositions.push_back(nPos);
        }
    }
    if ((msg.message == WM_DOWN_PROGRESS || msg.message == WM_TIMER) && m_dlg.m_lblStatus) {
        wchar_t szText[256] = {};
        ::GetWindowTextW(m_dlg.m_lblStatus, szText, 256);
        if (m_vecStatusTexts.empty() || m_vecStatusTexts.back() != szText) {
            m_vecStatusTexts.push_back(szText);
        }
    }
}

bool CRoadObserver::PumpUntil(const std::function<bool()>& bDone, DWORD nTimeoutMs) {
    const DWORD nStart = GetTickCount();
    while (!m_bQuit) {
        if (bDone()) {
            return true;
        }
        DWORD nElapsed = GetTickCount() - nStart;
        if (nElapsed >= nTimeoutMs) {
            return bDone();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (std::min)(nTimeoutMs - nElapsed, 50ul),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                m_bQuit = true;
                m_nQuitCode = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return bDone();
}

void CRoadObserver::PumpFor(DWORD nMs) {
    PumpUntil([] { return false; }, nMs);
}
