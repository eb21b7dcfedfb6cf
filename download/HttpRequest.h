#pragma once

#include <windows.h>

#include <string>

#include "ProxyPlan.h"

// Waits on the wire, set on every root and request handle of the download:
// long enough for a slow but working line, short enough that a server gone
// silent ends the attempt, which is then relaunched and resumes after the
// bytes it had.
const DWORD kConnectTimeoutMs = 20000;
const DWORD kSendTimeoutMs = 30000;
const DWORD kReceiveTimeoutMs = 30000;

// One HTTP request on its own root handle and connection, over one of the two
// stacks the download uses. The destructor closes the request, the connection
// and the root handle, in this order, with the stack's own close call.
class CHttpRequest {
public:
    virtual ~CHttpRequest() = default;

    // Opens the root handle, reaching the server as the factory was told.
    virtual bool Open() = 0;
    virtual bool Connect(const std::wstring& strHost) = 0;
    // Lets all 40 segment requests be open at once (WinINet only).
    virtual void SetMaxConnections() {}
    // The verb of the size query: the stacks ask differently.
    virtual LPCWSTR SizeQueryVerb() const = 0;
    virtual bool OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) = 0;
    virtual bool AddHeader(const std::wstring& strHeader) = 0;
    // Sends without extra headers or body (and, on WinHTTP, takes the answer,
    // answering a proxy's logon challenge with the user's own logon once).
    virtual bool Send() = 0;
    // The answer's raw values, judged by HttpAnswer; false when missing.
    virtual bool QueryStatus(DWORD& nStatus) = 0;
    virtual bool QueryContentLength(std::wstring& strLength) = 0;
    virtual bool QueryContentRange(std::wstring& strRange) = 0;
    // Reads what the connection holds now, at most nSize bytes, waiting (up
    // to the receive time-out) only for the first: bytes that arrived before
    // a stall are the caller's, not lost inside a read that waits for more.
    // nRead 0: the answer has ended.
    virtual bool Read(void* pBuffer, DWORD nSize, DWORD& nRead) = 0;
};

// True when InternetGetConnectedState's flags say that a proxy is in use.
bool ConnectionStateSaysProxy();

// A request of the normal transport (WinINet, HTTPS, port 443; with the whole
// proxy configuration when bPreconfig, else without its auto-proxy) or of the
// fallback one (WinHTTP, plain HTTP, port 80, through proxy). The two stacks'
// headers do not mix, hence factories.
CHttpRequest* NewWinInetRequest(bool bPreconfig);
CHttpRequest* NewWinHttpRequest(const WinHttpProxy& proxy);
