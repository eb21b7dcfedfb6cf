#include "RelaunchPacer.h"

bool CRelaunchPacer::Queue(int nId) {
    m_queue.push_back(nId);
    return m_queue.size() == 1;
}

bool CRelaunchPacer::Take(int& nId) {
    if (m_queue.empty()) {
        return false;
    }
    nId = m_queue.front();
    m_queue.pop_front();
    ++m_nSinceProgress;
    return true;
}

UINT CRelaunchPacer::NextPauseMs() const {
    UINT nPause = m_nFirstPauseMs;
    for (UINT i = 0; i < m_nSinceProgress && nPause < m_nLongestPauseMs; ++i) {
        nPause *= 2;
    }
    return nPause < m_nLongestPauseMs ? nPause : m_nLongestPauseMs;
}

void CRelaunchPacer::Reset() {
    m_queue.clear();
    m_nSinceProgress = 0;
}
