#include "WorkerReports.h"

#include "DownloadMessages.h"

namespace {

volatile LONG g_nBytesPosted = 0;

}  // namespace

bool PostFinalReport(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, PostFunction pfnPost) {
    while (!pfnPost(hWnd, uMsg, wParam, lParam)) {
        if (!IsWindow(hWnd)) {
            return false;  // nobody is left to take it
        }
        Sleep(REPOST_PAUSE_MS);  // the window's thread drains its queue meanwhile
    }
    return true;
}

CByteReporter::CByteReporter(HWND hWnd, PostFunction pfnPost)
    : m_hWnd(hWnd), m_pfnPost(pfnPost), m_dwLastReport(GetTickCount() - BYTE_REPORT_PERIOD_MS) {}

void CByteReporter::Stored(DWORD nBytes) {
    m_nUnreported += nBytes;
    if (GetTickCount() - m_dwLastReport >= BYTE_REPORT_PERIOD_MS && Post(false)) {
        m_dwLastReport = GetTickCount();
    }
}

void CByteReporter::Flush() {
    if (m_nUnreported != 0) {
        Post(true);
    }
}

bool CByteReporter::Post(bool bUntilTaken) {
    // Counted first: the window may handle the report before this thread
    // would count it.
    InterlockedIncrement(&g_nBytesPosted);
    const LPARAM nBytes = static_cast<LPARAM>(m_nUnreported);
    const bool bTaken = bUntilTaken
                            ? PostFinalReport(m_hWnd, WM_DOWN_PROGRESS, 0, nBytes, m_pfnPost)
                            : m_pfnPost(m_hWnd, WM_DOWN_PROGRESS, 0, nBytes) != FALSE;
    if (!bTaken) {
        InterlockedDecrement(&g_nBytesPosted);
        return false;
    }
    m_nUnreported = 0;
    return true;
}

LONG ByteReportsPosted() {
    return InterlockedCompareExchange(&g_nBytesPosted, 0, 0);
}
