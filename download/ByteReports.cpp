#include "ByteReports.h"

#include "DownloadMessages.h"

namespace {

volatile LONG g_nPosted = 0;

}  // namespace

LONG ByteReportsPosted() {
    return InterlockedCompareExchange(&g_nPosted, 0, 0);
}

bool PostByteReport(HWND hWnd, DWORD nBytes) {
    // Counted first: the window may handle the report before this thread
    // would count it.
    InterlockedIncrement(&g_nPosted);
    if (PostMessageW(hWnd, WM_DOWN_PROGRESS, 0, static_cast<LPARAM>(nBytes))) {
        return true;
    }
    InterlockedDecrement(&g_nPosted);
    return false;
}
