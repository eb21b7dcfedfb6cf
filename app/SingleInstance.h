#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// A second copy of the program asks the running one, by this message, to
// come to the front (shown again if it was hidden). wParam, lParam: 0.
const UINT WM_BRING_TO_FRONT = WM_APP + 1;
// The property that marks the running copy's main window for the second one.
extern const wchar_t kMainWindowProp[];

// One copy at a time in a session: two copies would fight over the same
// partial file. The first claims the program's name for its whole life; a
// later one finds the name taken.
class CSingleInstance {
public:
    CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False when another copy of the program already runs.
    bool IsFirst() const { return m_bFirst; }
    // Asks the running copy's window to come to the front, lending it the
    // right to take the foreground that the user gave this copy.
    static void BringRunningCopyToFront();
    // Gives the program's name up: a copy started from now on runs.
    void Release() { m_mutex.Close(); }

private:
    CKernelHandle m_mutex;
    bool m_bFirst;
};
