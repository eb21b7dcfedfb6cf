#pragma once

#include <windows.h>
#include <winhttp.h>

#include "HttpRequest.h"

// The fallback transport: WinHTTP, always plain HTTP on port 80.
class CWinHttpRequest : public CHttpRequest {
public:
    CWinHttpRequest() = default;
    CWinHttpRequest(const CWinHttpRequest&) = delete;
    CWinHttpRequest& operator=(const CWinHttpRequest&) = delete;
    ~CWinHttpRequest() override;

    bool Open() override;
    bool Connect(const std::wstring& strHost) override;
    LPCWSTR SizeQueryVerb() const override { return L"HEAD"; }
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
