#pragma once

#include <windows.h>

// The proxy state as last detected, for the requests that open right after.
// One detection costs several milliseconds and, under Wine, the calls of
// forty threads starting together queue behind each other (a quarter of a
// second in all); the size query and the segment threads it starts open
// within a few milliseconds, so they share one answer while it is fresh.
// Lock-free: the state and the moment are one 32-bit word.
class CProxyStateMemo {
public:
    static const DWORD kLifetimeMs = 2000;

    // The remembered state when it was detected less than kLifetimeMs
    // before nNowMs (GetTickCount time, wrapping); false when it is stale.
    bool Lookup(DWORD nNowMs, bool& bProxy) const;
    void Remember(DWORD nNowMs, bool bProxy);

private:
    static const LONG kKnown = 2;
    static const LONG kProxy = 1;
    static const DWORD kFlags = kKnown | kProxy;  // the moment keeps the other bits

    mutable volatile LONG m_nState = 0;
};
