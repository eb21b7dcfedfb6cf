#pragma once

#include <windows.h>
#include <wininet.h>

#include "HttpRequest.h"
#include "InternetHandle.h"

// The normal transport: WinINet, always HTTPS on port 443.
class CWinInetRequest : public CHttpRequest {
public:
    // No INTERNET_FLAG_NO_AUTH: a proxy's NTLM or Negotiate challenge is
    // answered with the user's own logon. The zone policy keeps that logon
    // from servers of the Internet zone, and NO_UI keeps every dialog away.
    // NO_CACHE_WRITE: the ranges (the whole installer) are not copied into
    // the administrator's cache.
    static const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                       INTERNET_FLAG_SECURE | INTERNET_FLAG_KEEP_CONNECTION |
                                       INTERNET_FLAG_NO_COOKIES |
                                       INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_NO_UI;

    explicit CWinInetRequest(bool bPreconfig) : m_bPreconfig(bPreconfig) {}
    CWinInetRequest(const CWinInetRequest&) = delete;
    CWinInetRequest& operator=(const CWinInetRequest&) = delete;

    bool Open() override;
    bool Connect(const std::wstring& strHost) override;
    void SetMaxConnections() override;
    LPCWSTR SizeQueryVerb() const override { return L"GET"; }
    bool OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) override;
    bool AddHeader(const std::wstring& strHeader) override;
    bool Send() override;
    bool QueryStatus(DWORD& nStatus) override;
    bool QueryContentLength(std::wstring& strLength) override;
    bool QueryContentRange(std::wstring& strRange) override;
    bool Read(void* pBuffer, DWORD nSize, DWORD& nRead) override;

private:
    const bool m_bPreconfig;
    // Closed in reverse order: request, connection, root.
    CInternetHandle m_hRoot;
    CInternetHandle m_hConnect;
    CInternetHandle m_hRequest;
};

// Raises both per-server connection limits of the handle to 50; results ignored.
void SetMaxConnections(HINTERNET hConnect);

// The connection limits for all 40 transfers at once: 50 for an HTTP/1.1 and
// an HTTP/1.0 server and for a proxy (which counts every server's connections
// through it), for the whole process. WinINet keeps them per process and
// takes them only without a handle (the default lets 2 to a few connections
// to one server run; the rest wait inside HttpSendRequestW). Called before
// the first transfer; the results go to the debug trace.
// (WinHTTP needs no such call: its limit is per session, unlimited by
// default, and every request opens its own session.)
void RaiseProcessConnectionLimits();
