#include "AnalyticsQueue.h"

#include <process.h>

#include "AnalyticsEvent.h"
#include "WinHttpHandle.h"

bool CAnalyticsQueue::Post(const std::wstring& strUrl) {
    CCriticalSectionLock lock(m_cs);
    if (!m_bStarted) {
        uintptr_t hThread = _beginthreadex(nullptr, 0, Run, this, 0, nullptr);
        if (hThread == 0) {
            return false;
        }
        CloseHandle(reinterpret_cast<HANDLE>(hThread));
        m_bStarted = true;
    }
    m_queue.push_back(strUrl);
    ResetEvent(m_hIdle.Get());
    SetEvent(m_hWake.Get());
    return true;
}

bool CAnalyticsQueue::WaitUntilSent(DWORD dwMs) {
    return WaitForSingleObject(m_hIdle.Get(), dwMs) == WAIT_OBJECT_0;
}

unsigned __stdcall CAnalyticsQueue::Run(void* pSelf) {
    CAnalyticsQueue& self = *static_cast<CAnalyticsQueue*>(pSelf);
    for (;;) {
        WaitForSingleObject(self.m_hWake.Get(), INFINITE);
        self.SendQueued();
    }
}

void CAnalyticsQueue::SendQueued() {
    for (;;) {
        std::wstring strUrl;
        {
            CCriticalSectionLock lock(m_cs);
            if (m_queue.empty()) {
                SetEvent(m_hIdle.Get());  // under the lock: Post cannot come between
                return;
            }
            strUrl = m_queue.front();
            m_queue.pop_front();
        }
        SendAnalyticsEventNow(strUrl, kStepTimeoutMs);
    }
}

CAnalyticsQueue& AnalyticsQueue() {
    // Never destroyed: its thread may still be sending when the process ends.
    static CAnalyticsQueue* pQueue = new CAnalyticsQueue;
    return *pQueue;
}

void SendAnalyticsEventNow(const std::wstring& strUrl, DWORD nStepTimeoutMs) {
    std::wstring strHost;
    std::wstring strObject;
    SplitEventUrl(strUrl, strHost, strObject);
    // Closed in reverse order: request, connection, root.
    CWinHttpHandle root(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
    if (!root) {
        return;
    }
    const int nStep = static_cast<int>(nStepTimeoutMs);
    WinHttpSetTimeouts(root.Get(), nStep, nStep, nStep, nStep);
    CWinHttpHandle connect(
        WinHttpConnect(root.Get(), strHost.c_str(), INTERNET_DEFAULT_HTTP_PORT, 0));
    if (!connect) {
        return;
    }
    LPCWSTR rgpszAcceptTypes[] = {L"*/*", nullptr};
    CWinHttpHandle request(WinHttpOpenRequest(connect.Get(), L"HEAD", strObject.c_str(),
                                              L"HTTP/1.1", WINHTTP_NO_REFERER, rgpszAcceptTypes,
                                              WINHTTP_FLAG_BYPASS_PROXY_CACHE));
    if (!request) {
        return;
    }
    // Wine's synchronous send also waits for the answer's headers: measured,
    // without this a collector that never answers held the sender for good.
    DWORD dwResponse = nStepTimeoutMs;
    WinHttpSetOption(request.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &dwResponse,
                     sizeof(dwResponse));
    WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                       0, 0);
}
