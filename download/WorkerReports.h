#pragma once

#include <windows.h>

// How the workers' reports reach the window: a worker only posts, and the
// window's thread never waits on its own queue. A thread's queue holds a
// bounded number of posted messages (10,000 on Windows): byte reports are
// paced, so that they never fill it, and a final report is posted again
// until it is taken, so that it is never lost.

using PostFunction = BOOL(WINAPI*)(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// A transfer posts at most one byte report per this many milliseconds.
const DWORD BYTE_REPORT_PERIOD_MS = 50;
// A final report the queue did not take is posted again after this pause.
const DWORD REPOST_PAUSE_MS = 20;

// Posts a worker's final report, again every REPOST_PAUSE_MS while the queue
// does not take it: true once it is taken, false when the window is gone.
// Runs on a worker.
bool PostFinalReport(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                     PostFunction pfnPost = ::PostMessageW);

// The byte reports of one transfer: the first bytes at once, then at most one
// report per BYTE_REPORT_PERIOD_MS, each with every byte stored since the one
// before (a report the queue does not take goes with the next); Flush
// delivers the rest, as a final report, before the transfer's final report.
class CByteReporter {
public:
    explicit CByteReporter(HWND hWnd, PostFunction pfnPost = ::PostMessageW);
    void Stored(DWORD nBytes);
    void Flush();

private:
    // Posts what is unreported: once, or until the queue takes it.
    bool Post(bool bUntilTaken);

    const HWND m_hWnd;
    const PostFunction m_pfnPost;
    DWORD m_nUnreported = 0;
    DWORD m_dwLastReport;
};

// Byte reports the window's queue took from every transfer of the process so
// far: against the ones the controller handled, what waits in the queue.
LONG ByteReportsPosted();
