#pragma once

#include "ProxyPlan.h"

// The current user's proxy settings (WinHttpGetIEProxyConfigForCurrentUser:
// auto-detection, script, named proxy, bypass list) and the connected-state
// flag. A registry read of well under a millisecond, made once per run on the
// window's thread. False when the settings could not be read; the flag is
// read either way.
bool ReadUserProxyConfig(ProxyConfig& config);

// Looks up the fallback's proxy for the address of a ProxyLookupJob* (which it
// owns), by auto-detection and the script its settings name; waits at most
// the job's limit for the script. One WM_PROXY_FOUND: lParam a new
// WinHttpProxy that the receiver owns, or null with wParam the error.
unsigned __stdcall FindProxyThread(void* pParam);
