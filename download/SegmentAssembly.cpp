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
        Post(WM_DOWN_ERROR, 0, DOWN_ERR_URL);
        return false;
    }
    DWORD dwError = 0;
    if (!m_downloadFolder.IsOpen() &&
        !m_downloadFolder.Open(m_request.strPublicDocs, kDownloadFolderName, dwError)) {
        KORVIX_TRACE(L"CreateDirectory() fail!\n\r");
        Post(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return false;
    }
    if (!m_downloadFolder.DeleteOwnFile(strName, dwError)) {
        KORVIX_TRACE(L"_wremove() fail!");
        Post(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
    }
    CFileHandle file = m_downloadFolder.OpenFile(
        strName, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0, FILE_CREATE, dwError);
    if (!file) {
        Post(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return false;
    }
    m_hDownFile = std::move(file);
    return true;
}

void CInstallController::OnFileSizeMsg(DWORD nFileSize) {
    if (!IsPlannableSize(nFileSize)) {
        // Nothing can be planned with it: the size query counts as failed.
        Post(WM_DOWN_ERROR, 0, DOWN_ERR_FILESIZE);
        return;
    }
    if (!m_hDownFile && !CreateDownloadFile()) {
        return;
    }
    m_nFileSize = nFileSize;
    m_pSegments = NewSegmentTable(nFileSize);
    if (!m_pSegments) {
        Post(WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_SYSTEM);
        return;
    }
    for (int i = 0; i < SEGMENT_COUNT; ++i) {
        if (m_pSegments[i].nLength == 0) {
            // Files under 40 bytes leave empty segments: complete at once.
            ++m_nRunningTransfers;
            Post(WM_SEGMENT_COMPLETE, 0, i);
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
    m_workers.StartWrite(job);
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
        Post(WM_DOWN_ERROR, 0, DOWN_ERR_SYSTEM);
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
    // The installer's worker gets the file just written, by name and identity.
    InstallerJob job;
    if (!PartialFileName(m_request.strUrl, job.strPartialName) ||
        !ReadFileIdentity(m_hDownFile.Get(), job.written)) {
        // The file stays held: the failure's clean-up deletes it.
        Post(WM_DOWN_ERROR, GetLastError(), DOWN_ERR_SYSTEM);
        return;
    }
    job.hReportTo = m_hReportWnd;
    job.pFolder = &m_downloadFolder;
    job.strInstallerName = DownloadFileName(m_request.strUrl);
    job.strInstallPath = m_request.strInstallPath;
    m_hDownFile.Close();  // the installer's worker opens it again, unshared
    m_workers.StartInstaller(job);
}
