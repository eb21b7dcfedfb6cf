#pragma once

#include <windows.h>

#include <string>

// The user's proxy settings, as the proxy page of Windows' settings (or a
// company's policy) wrote them, read once per run before the first request.
struct ProxyConfig {
    bool bAutoDetect = false;      // find a script by auto-detection (WPAD)
    std::wstring strScriptUrl;     // the auto-configuration (PAC) script's address
    std::wstring strProxy;         // the named proxy list ("host:port", "http=...;https=...")
    std::wstring strBypass;        // hosts reached without it ("<local>;*.corp")
    bool bConnectionFlag = false;  // InternetGetConnectedState says a proxy is in use
    // False when the settings could not be read: WinINet then reads them
    // itself, and the fallback takes WinHTTP's own setting.
    bool bRead = true;
};

// How a session of the fallback (WinHTTP) reaches the server.
struct WinHttpProxy {
    enum Kind {
        kDirect,          // no proxy: the user has none
        kNamed,           // strProxy, except for the hosts of strBypass
        kMachineDefault,  // WinHTTP's own setting: a proxy is in use, but none was named
    };
    Kind eKind = kDirect;
    std::wstring strProxy;
    std::wstring strBypass;
};

// What follows from the settings for both stacks.
struct ProxyPlan {
    // WinINet follows the whole configuration (INTERNET_OPEN_TYPE_PRECONFIG)
    // when any proxy is set, else it opens without the auto-proxy.
    bool bWinInetPreconfig = false;
    // The fallback asks auto-detection or the script for the address first.
    bool bLookUp = false;
    // The fallback's proxy without a look-up, or when the look-up gives no
    // answer in time.
    WinHttpProxy fallback;
};

ProxyPlan PlanProxy(const ProxyConfig& config);

// For the debug trace: the settings and a fallback proxy, with any user name
// and password written into an address left out.
std::wstring DescribeProxyConfig(const ProxyConfig& config);
std::wstring DescribeWinHttpProxy(const WinHttpProxy& proxy);
