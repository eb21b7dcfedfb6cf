#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    // TRUE consumes the message (it is then neither translated nor dispatched).
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
};

// The message loop of one thread: filters from the last registered to the
// first, then translate and dispatch.
class CMessageLoop {
public:
    BOOL AddMessageFilter(CMessageFilter* pFilter);
    BOOL RemoveMessageFilter(CMessageFilter* pFilter);

    // Runs until WM_QUIT; returns its wParam.
    int Run();

protected:
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    std::vector<CMessageFilter*> m_vecFilters;
    MSG m_msg = {};
};
