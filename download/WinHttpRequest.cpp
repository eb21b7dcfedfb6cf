#include "WinHttpRequest.h"

#include <algorithm>

DWORD ProxyLogonScheme(DWORD dwStatus, DWORD dwSupported, DWORD dwTarget) {
    if (dwStatus != HTTP_STATUS_PROXY_AUTH_REQ || dwTarget != WINHTTP_AUTH_TARGET_PROXY) {
        return 0;
    }
    for (DWORD dwScheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM}) {
        if (dwSupported & dwScheme) {
            return dwScheme;
        }
    }
    return 0;
}

bool CWinHttpRequest::Open() {
    DWORD dwAccess = WINHTTP_ACCESS_TYPE_NO_PROXY;
    LPCWSTR pszProxy = WINHTTP_NO_PROXY_NAME;
    LPCWSTR pszBypass = WINHTTP_NO_PROXY_BYPASS;
    if (m_proxy.eKind == WinHttpProxy::kNamed) {
        dwAccess = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
        pszProxy = m_proxy.strProxy.c_str();
        if (!m_proxy.strBypass.empty()) {
            pszBypass = m_proxy.strBypass.c_str();
        }
    } else if (m_proxy.eKind == WinHttpProxy::kMachineDefault) {
        dwAccess = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    }
    m_hRoot.Attach(WinHttpOpen(nullptr, dwAccess, pszProxy, pszBypass, 0));
    if (!m_hRoot) {
        return false;
    }
    // The name look-up gets the connection's time.
    WinHttpSetTimeouts(m_hRoot.Get(), kConnectTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                       kReceiveTimeoutMs);
    return true;
}

bool CWinHttpRequest::Connect(const std::wstring& strHost) {
    m_hConnect.Attach(
        WinHttpConnect(m_hRoot.Get(), strHost.c_str(), INTERNET_DEFAULT_HTTP_PORT, 0));
    return m_hConnect.IsValid();
}

bool CWinHttpRequest::OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) {
    LPCWSTR rgpszAcceptTypes[] = {L"*/*", nullptr};
    m_hRequest.Attach(WinHttpOpenRequest(m_hConnect.Get(), pszVerb, strObject.c_str(), L"HTTP/1.1",
                                         WINHTTP_NO_REFERER, rgpszAcceptTypes,
                                         WINHTTP_FLAG_BYPASS_PROXY_CACHE));
    if (!m_hRequest) {
        return false;
    }
    // The wait for the answer's headers is a time-out of its own (Wine's
    // synchronous send waits for them, without a limit unless told).
    DWORD dwResponse = kReceiveTimeoutMs;
    WinHttpSetOption(m_hRequest.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &dwResponse,
                     sizeof(dwResponse));
    // No logon goes anywhere by itself (by default WinHTTP gives it to
    // intranet servers); Send gives it to a proxy that asks.
    DWORD dwPolicy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
    WinHttpSetOption(m_hRequest.Get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &dwPolicy,
                     sizeof(dwPolicy));
    return true;
}

bool CWinHttpRequest::AddHeader(const std::wstring& strHeader) {
    return WinHttpAddRequestHeaders(m_hRequest.Get(), strHeader.c_str(),
                                    static_cast<DWORD>(strHeader.size()),
                                    WINHTTP_ADDREQ_FLAG_ADD) != FALSE;
}

bool CWinHttpRequest::SendOnce() {
    if (!WinHttpSendRequest(m_hRequest.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return false;
    }
    // A missing answer makes the header queries fail, which reports it.
    WinHttpReceiveResponse(m_hRequest.Get(), nullptr);
    return true;
}

bool CWinHttpRequest::Send() {
    if (!SendOnce()) {
        return false;
    }
    DWORD nStatus = 0;
    DWORD dwSupported = 0;
    DWORD dwFirst = 0;
    DWORD dwTarget = 0;
    if (!QueryStatus(nStatus) || nStatus != HTTP_STATUS_PROXY_AUTH_REQ ||
        !WinHttpQueryAuthSchemes(m_hRequest.Get(), &dwSupported, &dwFirst, &dwTarget)) {
        return true;  // the answer is judged by its status
    }
    const DWORD dwScheme = ProxyLogonScheme(nStatus, dwSupported, dwTarget);
    if (dwScheme == 0) {
        return true;  // a 407 that nobody can answer: a failed attempt
    }
    // The user's own logon, for the proxy only; WinHTTP runs the whole
    // handshake within the one send that follows. A second 407 stands.
    DWORD dwPolicy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_MEDIUM;
    WinHttpSetOption(m_hRequest.Get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &dwPolicy,
                     sizeof(dwPolicy));
    if (!WinHttpSetCredentials(m_hRequest.Get(), WINHTTP_AUTH_TARGET_PROXY, dwScheme, nullptr,
                               nullptr, nullptr)) {
        return true;
    }
    return SendOnce();
}

bool CWinHttpRequest::QueryStatus(DWORD& nStatus) {
    DWORD dwSize = sizeof(nStatus);
    DWORD dwIndex = 0;
    return WinHttpQueryHeaders(m_hRequest.Get(),
                               WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &nStatus, &dwSize, &dwIndex) != FALSE;
}

bool CWinHttpRequest::QueryContentLength(std::wstring& strLength) {
    wchar_t szLength[40] = {};
    DWORD dwSize = sizeof(szLength) - sizeof(wchar_t);
    DWORD dwIndex = 0;
    if (!WinHttpQueryHeaders(m_hRequest.Get(), WINHTTP_QUERY_CONTENT_LENGTH,
                             WINHTTP_HEADER_NAME_BY_INDEX, szLength, &dwSize, &dwIndex)) {
        return false;
    }
    strLength = szLength;
    return true;
}

bool CWinHttpRequest::QueryContentRange(std::wstring& strRange) {
    wchar_t szRange[128] = {};
    DWORD dwSize = sizeof(szRange) - sizeof(wchar_t);
    DWORD dwIndex = 0;
    if (!WinHttpQueryHeaders(m_hRequest.Get(), WINHTTP_QUERY_CONTENT_RANGE,
                             WINHTTP_HEADER_NAME_BY_INDEX, szRange, &dwSize, &dwIndex)) {
        return false;
    }
    strRange = szRange;
    return true;
}

bool CWinHttpRequest::Read(void* pBuffer, DWORD nSize, DWORD& nRead) {
    nRead = 0;
    DWORD nAvailable = 0;
    if (!WinHttpQueryDataAvailable(m_hRequest.Get(), &nAvailable)) {
        return false;
    }
    return nAvailable == 0 ||
           WinHttpReadData(m_hRequest.Get(), pBuffer, std::min(nAvailable, nSize), &nRead) != FALSE;
}

CHttpRequest* NewWinHttpRequest(const WinHttpProxy& proxy) {
    return new CWinHttpRequest(proxy);
}
