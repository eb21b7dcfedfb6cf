#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "CriticalSection.h"
#include "UniqueHandle.h"

// The analytics events, sent one after the other, in the order given, by one
// worker thread: the window never waits for the collector, and a slow link
// gets time-outs it survives. The thread starts with the first event.
class CAnalyticsQueue {
public:
    // Resolve, connect, send and answer: each several times a satellite
    // link's round trip.
    static const DWORD kStepTimeoutMs = 5000;

    CAnalyticsQueue() = default;
    CAnalyticsQueue(const CAnalyticsQueue&) = delete;
    CAnalyticsQueue& operator=(const CAnalyticsQueue&) = delete;

    // Queues one event (its collector address); false when no thread could
    // be started for it (the event is dropped, as a failed send is).
    bool Post(const std::wstring& strUrl);
    // At the end of the program: waits until every queued event has been
    // sent or has failed, at most dwMs. True when none is left.
    bool WaitUntilSent(DWORD dwMs);

private:
    static unsigned __stdcall Run(void* pSelf);
    void SendQueued();

    CCriticalSection m_cs;
    std::deque<std::wstring> m_queue;  // events not yet taken by the thread
    CKernelHandle m_hWake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // an event was queued
    CKernelHandle m_hIdle{CreateEventW(nullptr, TRUE, TRUE, nullptr)};  // nothing queued or sending
    bool m_bStarted = false;
};

// The program's one queue (it lives until the process ends: its thread may).
CAnalyticsQueue& AnalyticsQueue();

// Sends one event now: a HEAD to its address on port 80, the answer not
// read, every failure silent, each step bounded by nStepTimeoutMs.
void SendAnalyticsEventNow(const std::wstring& strUrl, DWORD nStepTimeoutMs);
