#include "ProxyStateMemo.h"

bool CProxyStateMemo::Lookup(DWORD nNowMs, bool& bProxy) const {
    const LONG nState = InterlockedCompareExchange(&m_nState, 0, 0);
    if ((nState & kKnown) == 0) {
        return false;
    }
    const DWORD nAt = static_cast<DWORD>(nState) & ~kFlags;
    if (nNowMs - nAt >= kLifetimeMs) {  // unsigned: right across the wrap
        return false;
    }
    bProxy = (nState & kProxy) != 0;
    return true;
}

void CProxyStateMemo::Remember(DWORD nNowMs, bool bProxy) {
    const LONG nState = static_cast<LONG>(nNowMs & ~kFlags) | kKnown | (bProxy ? kProxy : 0);
    InterlockedExchange(&m_nState, nState);
}
