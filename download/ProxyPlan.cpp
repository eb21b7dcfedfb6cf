#include "ProxyPlan.h"

ProxyPlan PlanProxy(const ProxyConfig& config) {
    ProxyPlan plan;
    const bool bScript = !config.strScriptUrl.empty();
    const bool bNamed = !config.strProxy.empty();
    // Auto-detection alone counts: it is how many company networks hand out
    // their proxy (and Windows' default).
    const bool bMaybe = config.bConnectionFlag || !config.bRead;  // a proxy no setting names
    plan.bWinInetPreconfig = config.bAutoDetect || bScript || bNamed || bMaybe;
    plan.bLookUp = config.bAutoDetect || bScript;
    if (bNamed) {
        plan.fallback.eKind = WinHttpProxy::kNamed;
        plan.fallback.strProxy = config.strProxy;
        plan.fallback.strBypass = config.strBypass;
    } else if (bMaybe) {
        plan.fallback.eKind = WinHttpProxy::kMachineDefault;
    }
    return plan;
}

namespace {

// The text without the "user:password@" of any address in it.
std::wstring WithoutCredentials(std::wstring str) {
    for (size_t nAt; (nAt = str.find(L'@')) != std::wstring::npos;) {
        const size_t nLast = str.find_last_of(L"/;= \t", nAt);
        const size_t nFrom = nLast == std::wstring::npos ? 0 : nLast + 1;
        str.erase(nFrom, nAt - nFrom + 1);
    }
    return str;
}

std::wstring Quoted(const std::wstring& str) {
    return L"\"" + WithoutCredentials(str) + L"\"";
}

}  // namespace

std::wstring DescribeProxyConfig(const ProxyConfig& config) {
    return std::wstring(L"auto-detect ") + (config.bAutoDetect ? L"on" : L"off") + L", script " +
           Quoted(config.strScriptUrl) + L", proxy " + Quoted(config.strProxy) + L", bypass " +
           Quoted(config.strBypass) + L", connection flag " +
           (config.bConnectionFlag ? L"on" : L"off") + (config.bRead ? L"" : L" (settings unread)");
}

std::wstring DescribeWinHttpProxy(const WinHttpProxy& proxy) {
    switch (proxy.eKind) {
        case WinHttpProxy::kNamed:
            return L"proxy " + Quoted(proxy.strProxy) + L", bypass " + Quoted(proxy.strBypass);
        case WinHttpProxy::kMachineDefault:
            return L"WinHTTP's own proxy setting";
        case WinHttpProxy::kDirect:
            break;
    }
    return L"direct";
}
