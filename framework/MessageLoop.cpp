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

int CMessageLoop::Run() {
    for (;;) {
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
    }
    return static_cast<int>(m_msg.wParam);
}
