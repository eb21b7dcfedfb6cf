#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "DebugTrace.h"
#include "DownloadUrl.h"
#include "HttpAnswer.h"
#include "InstallController.h"
#include "SegmentPlan.h"

bool CInstallController::CreateDownloadFile() {
    std::wstring strName;
    if (!PartialFileName(m_request.strUrl, strName)) {
        OnDownErrorMsg(DOWN_ERR_URL, 0);
        return false;
    }
    DWORD dwError = 0;
    if (!m_downloadFolder.IsOpen() &&
        !m_downloadFolder.Open(m_request.strPublicDocs, kDownloadFolderName, dwError)) {
        KORVIX_TRACE(L"CreateDirectory() fail!\n\r");
        OnDownErrorMsg(DOWN_ERR_SYSTEM, dwError);
        return false;
    }
    if (!m_downloadFolder.DeleteOwnFile(strName, dwError)) {
        // A local failure, which ends the installation: no file is made
        // after its clean-up.
        KORVIX_TRACE(L"_wremove() fail!");
        OnDownErrorMsg(DOWN_ERR_SYSTEM, dwError);
        return false;
    }
    // Read access too, and shared for reading: the same handle goes on to the
    // installer's worker, which checks the file through it and moves it.
    CFileHandle file = m_downloadFolder.OpenFile(
        strName, GENERIC_WRITE | GENERIC_READ | DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
        FILE_CREATE, dwError);
    if (!file) {
        OnDownErrorMsg(DOWN_ERR_SYSTEM, dwError);
        return false;
    }
    m_hDownFile = std::move(file);
    return true;
}

void CInstallController::OnFileSizeMsg(DWORD nFileSize) {
    if (!IsPlannableSize(nFileSize)) {
        // Nothing can be planned with it: the size query counts as failed.
        OnDownErrorMsg(DOWN_ERR_FILESIZE, 0);
        return;
    }
    if (!m_hDownFile && !CreateDownloadFile()) {
        return;
    }
    m_nFileSize = nFileSize;
    m_pSegments = NewSegmentTable(nFileSize);
    if (!m_pSegments) {
        OnDownErrorMsg(DOWN_ERR_SYSTEM, ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    for (int i = 0; i < SEGMENT_COUNT && m_pSegments; ++i) {
        if (m_pSegments[i].nLength == 0) {
            // Files under 40 bytes leave empty segments: complete at once.
            ++m_nRunningTransfers;
            OnSegmentCompleteMsg(i);
        } else {
            StartSegmentTransfer(i);
        }
    }
}

void CInstallController::OnSegmentCompleteMsg(int nId) {
    if (!m_pSegments || nId < 0 || nId >= SEGMENT_COUNT) {
        return;
    }
    --m_nRunningTransfers;
    if (nId == m_nCurrentWriteId) {
        StartSegmentWrite(nId);
    } else {
        m_vecWaitWrite.push_back(nId);
    }
    if (++m_nCompleteCount == SEGMENT_COUNT) {
        m_view.DisarmTimer(kWatchTimerId);  // nothing left to arrive
    }
    // The last running transfer has ended with segments parked and none
    // waiting for its relaunch: no report would come to relaunch them, so
    // give them their try now.
    if (m_nRunningTransfers == 0 && m_pacer.Empty() && !m_vecFailed.empty() && m_nFatalCount == 0) {
        RelaunchParkedSegments();
    }
}

void CInstallController::StartSegmentWrite(int nId) {
    if (m_bFailing) {
        return;  // the file is being discarded
    }
    WriteJob job;
    job.hReportTo = m_hReportWnd;
    job.hFile = m_hDownFile.Get();
    job.pSegment = &m_pSegments[nId];
    m_bWriteRunning = true;
    if (!m_workers.StartWrite(job)) {
        OnDownErrorMsg(DOWN_ERR_WRITE, ERROR_NOT_ENOUGH_MEMORY);
    }
}

void CInstallController::DiscardDownload() {
    if (m_hDownFile) {
        DeleteHeldFile(m_hDownFile.Get());  // the file itself, whatever its name
    }
    if (!m_bWriteRunning) {
        CloseDownload();
    }
    // Otherwise the write's report closes it: closing under the writer
    // could hand it another file.
}

void CInstallController::CloseDownload() {
    m_hDownFile.Close();
    m_downloadFolder.Release();
}

void CInstallController::OnUnionFileCompleteMsg(int nId) {
    m_bWriteRunning = false;
    if (m_bFailing) {
        CloseDownload();  // the discard waited for this write
        return;
    }
    if (nId != m_nCurrentWriteId || !m_pSegments) {
        KORVIX_TRACE(L"OnUnionFileCompleteMsg() err:m_nCurrentWriteId != nId \n\r");
        OnDownErrorMsg(DOWN_ERR_SYSTEM, 0);
        return;
    }
    FreeSegmentBuffer(m_pSegments[m_nCurrentWriteId]);
    if (m_nCurrentWriteId == SEGMENT_COUNT - 1) {
        wchar_t szTrace[64];
        swprintf(szTrace, 64, L"file assembled (clock %llu)\n\r", UnixTimeMs());
        KORVIX_TRACE(szTrace);
        m_pSegments.reset();
        StartInstaller();
        return;
    }
    ++m_nCurrentWriteId;
    auto it = std::find(m_vecWaitWrite.begin(), m_vecWaitWrite.end(), m_nCurrentWriteId);
    if (it != m_vecWaitWrite.end()) {
        m_vecWaitWrite.erase(it);
        StartSegmentWrite(m_nCurrentWriteId);
    }
}

void CInstallController::StartInstaller() {
    InstallerJob job;
    job.hReportTo = m_hReportWnd;
    job.pFolder = &m_downloadFolder;
    job.hFile = m_hDownFile.Get();
    job.strInstallerName = DownloadFileName(m_request.strUrl);
    job.strInstallPath = m_request.strInstallPath;
    job.bPlainHttp = m_bFallback;
    if (!m_workers.StartInstaller(job)) {
        // The file is still held here: the failure's clean-up deletes it.
        OnDownErrorMsg(DOWN_ERR_SYSTEM, ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    (void)m_hDownFile.Detach();  // the installer's worker holds the file now
}
