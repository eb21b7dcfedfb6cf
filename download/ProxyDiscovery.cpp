#include "ProxyDiscovery.h"

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <new>

#include "DownloadMessages.h"
#include "HttpRequest.h"
#include "WinHttpHandle.h"
#include "WorkerJobs.h"
#include "WorkerReports.h"

namespace {

// A string WinHTTP allocated for the caller, copied and freed.
std::wstring TakeGlobalString(LPWSTR psz) {
    std::wstring str = psz ? psz : L"";
    if (psz) {
        GlobalFree(psz);
    }
    return str;
}

}  // namespace

bool ReadUserProxyConfig(ProxyConfig& config) {
    config = ProxyConfig();
    config.bConnectionFlag = ConnectionStateSaysProxy();
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&settings)) {
        config.bRead = false;
        return false;
    }
    config.bAutoDetect = settings.fAutoDetect != FALSE;
    config.strScriptUrl = TakeGlobalString(settings.lpszAutoConfigUrl);
    config.strProxy = TakeGlobalString(settings.lpszProxy);
    config.strBypass = TakeGlobalString(settings.lpszProxyBypass);
    return true;
}

unsigned __stdcall FindProxyThread(void* pParam) {
    const std::unique_ptr<ProxyLookupJob> pJob(static_cast<ProxyLookupJob*>(pParam));
    std::unique_ptr<WinHttpProxy> pFound;
    DWORD dwError = 0;
    CWinHttpHandle session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (session) {
        // The script's download waits no longer than the controller does.
        const int nLimit = static_cast<int>(pJob->nLimitMs);
        WinHttpSetTimeouts(session.Get(), nLimit, nLimit, nLimit, nLimit);
        WINHTTP_AUTOPROXY_OPTIONS options = {};
        if (pJob->bAutoDetect) {
            options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
            options.dwAutoDetectFlags =
                WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
        }
        if (!pJob->strScriptUrl.empty()) {
            options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
            options.lpszAutoConfigUrl = pJob->strScriptUrl.c_str();
        }
        WINHTTP_PROXY_INFO info = {};
        BOOL bFound = WinHttpGetProxyForUrl(session.Get(), pJob->strUrl.c_str(), &options, &info);
        if (!bFound && GetLastError() == ERROR_WINHTTP_LOGIN_FAILURE) {
            // The script's server wants a logon: the user's own, as documented.
            options.fAutoLogonIfChallenged = TRUE;
            bFound = WinHttpGetProxyForUrl(session.Get(), pJob->strUrl.c_str(), &options, &info);
        }
        dwError = bFound ? 0 : GetLastError();
        const std::wstring strProxy = TakeGlobalString(info.lpszProxy);
        const std::wstring strBypass = TakeGlobalString(info.lpszProxyBypass);
        if (bFound) {
            pFound.reset(new (std::nothrow) WinHttpProxy);
            if (!pFound) {
                dwError = ERROR_NOT_ENOUGH_MEMORY;
            } else if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && !strProxy.empty()) {
                pFound->eKind = WinHttpProxy::kNamed;
                pFound->strProxy = strProxy;
                pFound->strBypass = strBypass;
            }
        }
    } else {
        dwError = GetLastError();
    }
    if (PostFinalReport(pJob->hReportTo, WM_PROXY_FOUND, dwError,
                        reinterpret_cast<LPARAM>(pFound.get()))) {
        (void)pFound.release();  // the receiver's now
    }
    return 1;
}
