#pragma once

#include <windows.h>
#include <winhttp.h>

#include "HttpRequest.h"
#include "WinHttpHandle.h"

// The scheme by which a challenge is answered with the logged-on user's own
// credentials: Negotiate or NTLM, when a proxy (never the server) asks for
// one of them in a 407; 0 otherwise. Basic and Digest would need a password
// that nobody gave, and the program shows no dialog.
DWORD ProxyLogonScheme(DWORD dwStatus, DWORD dwSupported, DWORD dwTarget);

// The fallback transport: WinHTTP, always plain HTTP on port 80.
class CWinHttpRequest : public CHttpRequest {
public:
    explicit CWinHttpRequest(const WinHttpProxy& proxy) : m_proxy(proxy) {}
    CWinHttpRequest(const CWinHttpRequest&) = delete;
    CWinHttpRequest& operator=(const CWinHttpRequest&) = delete;

    bool Open() override;
    bool Connect(const std::wstring& strHost) override;
    LPCWSTR SizeQueryVerb() const override { return L"HEAD"; }
    bool OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) override;
    bool AddHeader(const std::wstring& strHeader) override;
    bool Send() override;
    bool QueryStatus(DWORD& nStatus) override;
    bool QueryContentLength(std::wstring& strLength) override;
    bool QueryContentRange(std::wstring& strRange) override;
    bool Read(void* pBuffer, DWORD nSize, DWORD& nRead) override;

private:
    bool SendOnce();

    const WinHttpProxy m_proxy;
    // Closed in reverse order: request, connection, root.
    CWinHttpHandle m_hRoot;
    CWinHttpHandle m_hConnect;
    CWinHttpHandle m_hRequest;
};
