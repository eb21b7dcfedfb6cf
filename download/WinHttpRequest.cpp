#include "WinHttpRequest.h"

#include <algorithm>

bool CWinHttpRequest::Open() {
    DWORD dwAccess =
        ProxyInUse() ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY;
    m_hRoot.Attach(
        WinHttpOpen(nullptr, dwAccess, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
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
    return true;
}

bool CWinHttpRequest::AddHeader(const std::wstring& strHeader) {
    return WinHttpAddRequestHeaders(m_hRequest.Get(), strHeader.c_str(),
                                    static_cast<DWORD>(strHeader.size()),
                                    WINHTTP_ADDREQ_FLAG_ADD) != FALSE;
}

bool CWinHttpRequest::Send() {
    if (!WinHttpSendRequest(m_hRequest.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return false;
    }
    // A missing answer makes the header queries fail, which reports it.
    WinHttpReceiveResponse(m_hRequest.Get(), nullptr);
    return true;
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

CHttpRequest* NewWinHttpRequest() {
    return new CWinHttpRequest;
}
