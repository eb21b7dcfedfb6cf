#pragma once

#include <windows.h>
#include <wininet.h>

#include "HttpRequest.h"

// The normal transport: WinINet, always HTTPS on port 443.
class CWinInetRequest : public CHttpRequest {
public:
    // RELOAD | SECURE | KEEP_CONNECTION | NO_COOKIES | NO_AUTH |
    // IGNORE_REDIRECT_TO_HTTP | NO_UI
    static const DWORD kRequestFlags = 0x80CC8200;

    CWinInetRequest() = default;
    CWinInetRequest(const CWinInetRequest&) = delete;
    CWinInetRequest& operator=(const CWinInetRequest&) = delete;
    ~CWinInetRequest() override;

    bool Open() override;
    bool Connect(const std::wstring& strHost) override;
    void SetMaxConnections() override;
    LPCWSTR SizeQueryVerb() const override { return L"GET"; }
    bool OpenRequest(LPCWSTR pszVerb, const std::wstring& strObject) override;
    bool AddHeader(const std::wstring& strHeader) override;
    bool Send() override;
    bool QueryStatus(DWORD& nStatus) override;
    bool QueryContentLength(DWORD& nLength) override;
    bool QueryContentRange(std::wstring& strRange) override;
    bool Read(void* pBuffer, DWORD nSize, DWORD& nRead) override;

private:
    HINTERNET m_hRoot = nullptr;
    HINTERNET m_hConnect = nullptr;
    HINTERNET m_hRequest = nullptr;
};

// Raises both per-server connection limits of the handle to 50; results ignored.
void SetMaxConnections(HINTERNET hConnect);
