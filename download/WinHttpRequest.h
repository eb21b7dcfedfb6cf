#pragma once

#include <windows.h>
#include <winhttp.h>

#include "HttpRequest.h"
#include "WinHttpHandle.h"

// The fallback transport: WinHTTP, always plain HTTP on port 80.
class CWinHttpRequest : public CHttpRequest {
public:
    CWinHttpRequest() = default;
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
    // Closed in reverse order: request, connection, root.
    CWinHttpHandle m_hRoot;
    CWinHttpHandle m_hConnect;
    CWinHttpHandle m_hRequest;
};
