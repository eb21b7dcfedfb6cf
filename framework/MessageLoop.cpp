#include "MessageLoop.h"

#include <algorithm>

#include "DebugTrace.h"

namespace {

template <class T>
BOOL RemoveFrom(std::vector<T*>& vec, T* p) {
    auto it = std::find(vec.begin(), vec.end(), p);
    if (it == vec.end()) {
        return FALSE;
    }
    vec.erase(it);
    return TRUE;
}

}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* pFilter) {
    m_vecFilters.push_back(pFilter);
    return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* pFilter) {
    return RemoveFrom(m_vecFilters, pFilter);
}

BOOL CMessageLoop::AddIdleHandler(CIdleHandler* pHandler) {
    m_vecIdleHandlers.push_back(pHandler);
    return TRUE;
}

BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* pHandler) {
    return RemoveFrom(m_vecIdleHandlers, pHandler);
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg) {
    // Messages that arrive in streams do not start a new idle phase.
    switch (pMsg->message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case 0x0118:  // the system timer of the caret
            return FALSE;
        default:
            return TRUE;
    }
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg) {
    // Copy: a filter may unregister itself while it runs.
    std::vector<CMessageFilter*> vecFilters = m_vecFilters;
    for (auto it = vecFilters.rbegin(); it != vecFilters.rend(); ++it) {
        if ((*it)->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*nIdleCount*/) {
    std::vector<CIdleHandler*> vecHandlers = m_vecIdleHandlers;
    for (CIdleHandler* pHandler : vecHandlers) {
        pHandler->OnIdle();
    }
    return FALSE;  // one pass per idle phase
}

int CMessageLoop::Run() {
    BOOL bDoIdle = TRUE;
    int nIdleCount = 0;
    for (;;) {
        while (bDoIdle && !PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(nIdleCount++)) {
                bDoIdle = FALSE;
            }
        }
        bDoIdle = FALSE;  // the next idle phase only after an idle message
        BOOL bRet = GetMessageW(&m_msg, nullptr, 0, 0);
        if (bRet == -1) {
            KORVIX_TRACE(L"::GetMessage returned -1 (error)\n");
            continue;
        }
        if (!bRet) {
            KORVIX_TRACE(L"CMessageLoop::Run - exiting\n");
            break;
        }
        if (!PreTranslateMessage(&m_msg)) {
            TranslateMessage(&m_msg);
            DispatchMessageW(&m_msg);
        }
        if (IsIdleMessage(&m_msg)) {
            bDoIdle = TRUE;
            nIdleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}
