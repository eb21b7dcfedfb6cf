#pragma once

#include <windows.h>

#include <deque>

// The relaunches of failed transfers, one at a time after a growing pause,
// so that the retry budget spans a short outage (a Wi-Fi hand-over, a VPN
// reconnecting) instead of being spent in a second. The dialog arms its
// timer with NextPauseMs() and takes one id per tick; a progress report
// shows the way is open again, and the pauses start short once more.
class CRelaunchPacer {
public:
    static const UINT kFirstPauseMs = 250;
    static const UINT kLongestPauseMs = 1000;

    explicit CRelaunchPacer(UINT nFirstPauseMs = kFirstPauseMs,
                            UINT nLongestPauseMs = kLongestPauseMs)
        : m_nFirstPauseMs(nFirstPauseMs), m_nLongestPauseMs(nLongestPauseMs) {}

    // Queues a relaunch (a segment id, or the size query's code). True when
    // the queue was empty, so the caller arms its timer.
    bool Queue(int nId);
    // Takes the next id to relaunch; false when none waits.
    bool Take(int& nId);
    bool Empty() const { return m_queue.empty(); }
    // The pause before the next relaunch: the first, doubled per relaunch
    // since the last progress, up to the longest.
    UINT NextPauseMs() const;
    void OnProgress() { m_nSinceProgress = 0; }
    // Drops every waiting relaunch and starts the pauses short again.
    void Reset();

private:
    UINT m_nFirstPauseMs;
    UINT m_nLongestPauseMs;
    UINT m_nSinceProgress = 0;  // relaunches taken since the last progress report
    std::deque<int> m_queue;
};
