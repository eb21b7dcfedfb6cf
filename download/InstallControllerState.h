#pragma once

#include <windows.h>

#include <vector>

#include "DownloadGlobals.h"
#include "RelaunchPacer.h"
#include "SegmentInfo.h"

// The install controller's state, held by the dialog (which derives from
// this record) and touched by the user-interface thread only.
struct InstallControllerState {
    InstallControllerState() = default;
    // Transfers still running when the program ends write into their
    // buffers until the process ends with them: the table goes with it.
    ~InstallControllerState() { (void)m_pSegments.release(); }
    InstallControllerState(const InstallControllerState&) = delete;
    InstallControllerState& operator=(const InstallControllerState&) = delete;

    SegmentTable m_pSegments;  // 40 records while the file is assembled
    DWORD m_nFileSize = 0;
    int m_nCurrentWriteId = 0;        // the segment whose turn it is to be written
    std::vector<int> m_vecWaitWrite;  // downloaded, waiting for their turn
    int m_nRetryCount = 0;            // relaunches since the last progress report
    std::vector<int> m_vecFailed;     // parked when the retry budget was used up
    int m_nCompleteCount = 0;         // segments completely downloaded
    int m_nRunningTransfers = 0;      // segment transfers yet to give their final report
    int m_nShownPosition = -1;        // what the bar and the status line show now
    int m_nByteReports = 0;           // byte reports handled, to pace DispatchWaitingCompletions
    CRelaunchPacer m_pacer;           // failed transfers waiting for their relaunch
    DWORD m_dwSizeQuerySince = 0;     // when this transport's size query began (GetTickCount)
    bool m_bFailing = false;          // a failure's outcome is shown; the program then ends
    DWORD m_dwLastByteTick = 0;       // the last byte report, or the start (GetTickCount)
    DWORD m_nSilenceLimitMs = SILENCE_LIMIT_MS;  // the road tests shorten it
    bool m_bReconnecting = false;    // a relaunch or a new size query since the last byte
    bool m_bReconnectShown = false;  // the status line says so
};
