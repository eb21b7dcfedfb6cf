#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    // TRUE consumes the message (it is then neither translated nor dispatched).
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
};

class CIdleHandler {
public:
    virtual ~CIdleHandler() = default;
    virtual BOOL OnIdle() = 0;
};

// The message loop of one thread: an idle pass whenever the queue runs dry,
// filters from the last registered to the first, then translate and dispatch.
class CMessageLoop {
public:
    BOOL AddMessageFilter(CMessageFilter* pFilter);
    BOOL RemoveMessageFilter(CMessageFilter* pFilter);
    BOOL AddIdleHandler(CIdleHandler* pHandler);
    BOOL RemoveIdleHandler(CIdleHandler* pHandler);

    // Runs until WM_QUIT; returns its wParam.
    int Run();

    static BOOL IsIdleMessage(const MSG* pMsg);

protected:
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // One idle pass; FALSE ends the idle phase.
    virtual BOOL OnIdle(int nIdleCount);

    std::vector<CMessageFilter*> m_vecFilters;
    std::vector<CIdleHandler*> m_vecIdleHandlers;
    MSG m_msg = {};
};
