#include "WaitingCompletions.h"

#include <initializer_list>

#include "DownloadMessages.h"

int DispatchWaitingCompletions(HWND hWnd) {
    int nTaken = 0;
    MSG msg;
    for (UINT uMsg : {WM_SEGMENT_COMPLETE, WM_UNION_FILE_COMPLETE}) {
        while (PeekMessageW(&msg, hWnd, uMsg, uMsg, PM_REMOVE)) {
            DispatchMessageW(&msg);
            ++nTaken;
        }
    }
    return nTaken;
}
