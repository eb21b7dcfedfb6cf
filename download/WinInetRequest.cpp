#include "WinInetRequest.h"

#include <algorithm>
#include <cwchar>

#include "DebugTrace.h"

// The request flags as a number: 0x80CC8200 without NO_AUTH, with
// NO_CACHE_WRITE.
static_assert(CWinInetRequest::kRequestFlags == 0x84C88200, "the request flags changed");

bool ConnectionStateSaysProxy() {
    DWORD dwFlags = 0;
    InternetGetConnectedState(&dwFlags, 0);  // only the flags count, not the result
    return (dwFlags & INTERNET_CONNECTION_PROXY) != 0;
}

namespace {

// Windows hands the root handle's waits down to its requests; Wine reads
// them from the request handle only (measured: set on the root alone, a
// server that never answers held the request for good). Both get them.
void SetWireTimeouts(HINTERNET hInternet) {
    DWORD dwConnect = kConnectTimeoutMs;
    DWORD dwSend = kSendTimeoutMs;
    DWORD dwReceive = kReceiveTimeoutMs;
    InternetSetOptionW(hInternet, INTERNET_OPTION_CONNECT_TIMEOUT, &dwConnect, sizeof(dwConnect));
    InternetSetOptionW(hInternet, INTERNET_OPTION_SEND_TIMEOUT, &dwSend, sizeof(dwSend));
    InternetSetOptionW(hInternet, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceive, sizeof(dwReceive));
    InternetSetOptionW(hInternet, INTERNET_OPTION_DATA_SEND_TIMEOUT, &dwSend, sizeof(dwSend));
    InternetSetOptionW(hInternet, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &dwReceive,
                       sizeof(dwReceive));
}

const DWORD kMaxConnsPerServer = 50;

// Sets one process-wide limit; the error, or 0 when it took.
unsigned long RaiseProcessLimit(DWORD dwOption) {
    DWORD dwMax = kMaxConnsPerServer;
    return InternetSetOptionW(nullptr, dwOption, &dwMax, sizeof(dwMax)) ? 0 : GetLastError();
}

}  // namespace

void RaiseProcessConnectionLimits() {
    const unsigned long dwServer = RaiseProcessLimit(INTERNET_OPTION_MAX_CONNS_PER_SERVER);
    const unsigned long dwServer10 = RaiseProcessLimit(INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER);
    const unsigned long dwProxy = RaiseProcessLimit(INTERNET_OPTION_MAX_CONNS_PER_PROXY);
    wchar_t szTrace[160];
    swprintf(szTrace, 160,
             L"connection limits %lu (error, 0 when set): per server %lu, per 1.0 server %lu, "
             L"per proxy %lu\n\r",
             static_cast<unsigned long>(kMaxConnsPerServer), dwServer, dwServer10, dwProxy);
    KORVIX_TRACE(szTrace);
}

void SetMaxConnections(HINTERNET hConnect) {
    DWORD dwMax = kMaxConnsPerServer;
    InternetSetOptionW(hConnect, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &dwMax, sizeof(dwMax));
    InternetSetOptionW(hConnect, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &dwMax, sizeof(dwMax));
}

bool CWinInetRequest::Open() {
    const DWORD dwAccess = m_bPreconfig ? INTERNET_OPEN_TYPE_PRECONFIG
                                        : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    m_hRoot.Attach(InternetOpenW(L"", dwAccess, nullptr, nullptr, 0));
    if (!m_hRoot) {
        return false;
    }
    SetWireTimeouts(m_hRoot.Get());
    return true;
}

bool CWinInetRequest::Connect(const std::wstring& strHost) {
    m_hConnect.Attach(InternetConnectW(m_hRoot.Get(), strHost.c_str(), INTERNET_DEFAULT_HTTPS_PORT,
                                       nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    return m_hConnect.IsValid();
}

void CWinInetRequest::SetMaxConnections() {
    ::SetMaxConnections(m_hConnect.Get());
}

bool CWinInetRequest::OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) {
    LPCWSTR rgpszAcceptTypes[] = {L"*/*", nullptr};
    m_hRequest.Attach(HttpOpenRequestW(m_hConnect.Get(), pszVerb, strObject.c_str(), L"HTTP/1.1",
                                       nullptr, rgpszAcceptTypes, kRequestFlags, 0));
    if (!m_hRequest) {
        return false;
    }
    SetWireTimeouts(m_hRequest.Get());
    return true;
}

bool CWinInetRequest::AddHeader(const std::wstring& strHeader) {
    return HttpAddRequestHeadersW(m_hRequest.Get(), strHeader.c_str(),
                                  static_cast<DWORD>(strHeader.size()),
                                  HTTP_ADDREQ_FLAG_ADD) != FALSE;
}

bool CWinInetRequest::Send() {
    return HttpSendRequestW(m_hRequest.Get(), nullptr, 0, nullptr, 0) != FALSE;
}

bool CWinInetRequest::QueryStatus(DWORD& nStatus) {
    DWORD dwSize = sizeof(nStatus);
    DWORD dwIndex = 0;
    return HttpQueryInfoW(m_hRequest.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                          &nStatus, &dwSize, &dwIndex) != FALSE;
}

bool CWinInetRequest::QueryContentLength(std::wstring& strLength) {
    wchar_t szLength[40] = {};
    DWORD dwSize = sizeof(szLength) - sizeof(wchar_t);
    DWORD dwIndex = 0;
    if (!HttpQueryInfoW(m_hRequest.Get(), HTTP_QUERY_CONTENT_LENGTH, szLength, &dwSize, &dwIndex)) {
        return false;
    }
    strLength = szLength;
    return true;
}

bool CWinInetRequest::QueryContentRange(std::wstring& strRange) {
    wchar_t szRange[128] = {};
    DWORD dwSize = sizeof(szRange) - sizeof(wchar_t);
    DWORD dwIndex = 0;
    if (!HttpQueryInfoW(m_hRequest.Get(), HTTP_QUERY_CONTENT_RANGE, szRange, &dwSize, &dwIndex)) {
        return false;
    }
    strRange = szRange;
    return true;
}

bool CWinInetRequest::Read(void* pBuffer, DWORD nSize, DWORD& nRead) {
    nRead = 0;
    DWORD nAvailable = 0;
    if (!InternetQueryDataAvailable(m_hRequest.Get(), &nAvailable, 0, 0)) {
        return false;
    }
    return nAvailable == 0 || InternetReadFile(m_hRequest.Get(), pBuffer,
                                               std::min(nAvailable, nSize), &nRead) != FALSE;
}

CHttpRequest* NewWinInetRequest(bool bPreconfig) {
    return new CWinInetRequest(bPreconfig);
}
