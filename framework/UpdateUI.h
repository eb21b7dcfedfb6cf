#pragma once

#include <windows.h>

#include <vector>

// Update-UI state of child windows. The program's map has no entries, so a
// refresh changes nothing; the containers are still kept as registered.
template <class T>
class CUpdateUI {
public:
    BOOL UIAddChildWindowContainer(HWND hWnd) {
        m_vecContainers.push_back(hWnd);
        return TRUE;
    }
    BOOL UIUpdateChildWindows(BOOL /*bForceUpdate*/ = FALSE) { return TRUE; }

protected:
    std::vector<HWND> m_vecContainers;
};
