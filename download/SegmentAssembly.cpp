#include <windows.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "BlockWrite.h"
#include "DebugTrace.h"
#include "DownloadGlobals.h"
#include "HttpAnswer.h"
#include "InstallerLaunch.h"
#include "MainDlg.h"
#include "SegmentPlan.h"

namespace {

// Signalled while no write thread runs: only then may the file be closed
// under the writer. The dialog resets it before it starts a write.
const HANDLE g_hNoWriteRunning = CreateEventW(nullptr, TRUE, TRUE, nullptr);
// How long a failed installation waits for a write under way to end.
const DWORD kWriteEndWaitMs = 10000;

// Appends one finished segment to the file; segments come one at a time in
// id order, so each lands at its own offset without seeking.
unsigned __stdcall WriteSegmentThread(void* pParam) {
    const SegmentInfo& segment = *static_cast<SegmentInfo*>(pParam);
    DWORD dwError = 0;
    const bool bWritten =
        WriteInBlocks(g_hDownFile.Get(), segment.pBuffer, segment.nLength, dwError);
    if (bWritten) {
        FlushFileBuffers(g_hDownFile.Get());
    }
    // Before the report: the dialog may start the next write on it.
    SetEvent(g_hNoWriteRunning);
    if (bWritten) {
        PostToDialog(WM_UNION_FILE_COMPLETE, 0, segment.nId);
    } else {
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
    }
    return 1;
}

// The partial file, made anew in the download folder (an old one of ours
// goes first). False after reporting.
bool CreateDownloadFile() {
    std::wstring strName;
    if (!PartialFileName(strName)) {
        PostToDialog(WM_DOWN_ERROR, 0, DOWN_ERR_URL);
        return false;
    }
    DWORD dwError = 0;
    if (!g_downloadFolder.IsOpen() &&
        !g_downloadFolder.Open(g_strPublicDocs, kDownloadFolderName, dwError)) {
        KORVIX_TRACE(L"CreateDirectory() fail!\n\r");
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return false;
    }
    if (!g_downloadFolder.DeleteOwnFile(strName, dwError)) {
        KORVIX_TRACE(L"_wremove() fail!");
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
    }
    CFileHandle file = g_downloadFolder.OpenFile(
        strName, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0, FILE_CREATE, dwError);
    if (!file) {
        PostToDialog(WM_DOWN_ERROR, dwError, DOWN_ERR_SYSTEM);
        return false;
    }
    g_hDownFile = std::move(file);
    return true;
}

// The installer thread's job: the file just written, by name and identity.
InstallerJob* NewInstallerJob() {
    InstallerJob* pJob = new (std::nothrow) InstallerJob;
    if (!pJob || !PartialFileName(pJob->strPartialName) ||
        !ReadFileIdentity(g_hDownFile.Get(), pJob->written)) {
        delete pJob;
        return nullptr;
    }
    pJob->pFolder = &g_downloadFolder;
    pJob->strInstallerName = InstallerFileName();
    pJob->strInstallPath = g_strInstallPath;
    return pJob;
}

}  // namespace

LRESULT CMainDlg::OnFileSizeMsg(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM lParam,
                                BOOL& /*bHandled*/) {
    const DWORD nFileSize = static_cast<DWORD>(lParam);
    if (!IsPlannableSize(nFileSize)) {
        // Nothing can be planned with it: the size query counts as failed.
        PostToDialog(WM_DOWN_ERROR, 0, DOWN_ERR_FILESIZE);
        return 1;
    }
    if (!g_hDownFile && !CreateDownloadFile()) {
        return 1;
    }
    m_nFileSize = nFileSize;
    g_nFileSize = nFileSize;
    m_pSegments = NewSegmentTable(nFileSize);
    if (!m_pSegments) {
        PostToDialog(WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_SYSTEM);
        return 1;
    }
    for (int i = 0; i < SEGMENT_COUNT; ++i) {
        if (m_pSegments[i].nLength == 0) {
            // Files under 40 bytes leave empty segments: complete at once.
            ++m_nRunningTransfers;
            PostToDialog(WM_SEGMENT_COMPLETE, 0, i);
        } else {
            StartSegmentTransfer(i);
        }
    }
    return 0;
}

LRESULT CMainDlg::OnSegmentCompleteMsg(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM lParam,
                                       BOOL& /*bHandled*/) {
    const int nId = static_cast<int>(lParam);
    if (!m_pSegments || nId < 0 || nId >= SEGMENT_COUNT) {
        return 0;
    }
    --m_nRunningTransfers;
    if (nId == m_nCurrentWriteId) {
        StartSegmentWrite(nId);
    } else {
        m_vecWaitWrite.push_back(nId);
    }
    if (++m_nCompleteCount == SEGMENT_COUNT) {
        KillTimer(kWatchTimerId);  // nothing left to arrive
    }
    // The last running transfer has ended with segments parked and none
    // waiting for its relaunch: no report would come to relaunch them, so
    // give them their try now.
    if (m_nRunningTransfers == 0 && m_pacer.Empty() && !m_vecFailed.empty() && g_nFatalCount == 0) {
        RelaunchParkedSegments();
    }
    return 0;
}

void CMainDlg::StartSegmentWrite(int nId) {
    if (m_bFailing) {
        return;  // the file is being discarded
    }
    ResetEvent(g_hNoWriteRunning);
    if (!StartWorker(WriteSegmentThread, &m_pSegments[nId], DOWN_ERR_SYSTEM)) {
        SetEvent(g_hNoWriteRunning);
    }
}

void CMainDlg::DiscardDownload() {
    if (g_hDownFile) {
        if (WaitForSingleObject(g_hNoWriteRunning, kWriteEndWaitMs) != WAIT_OBJECT_0) {
            return;  // a write hangs: closing under it could hand it another file
        }
        DeleteHeldFile(g_hDownFile.Get());  // the file itself, whatever its name
        g_hDownFile.Close();
    }
    g_downloadFolder.Release();
}

LRESULT CMainDlg::OnUnionFileCompleteMsg(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM lParam,
                                         BOOL& /*bHandled*/) {
    if (m_bFailing) {
        return 0;  // the file is being discarded: nothing more is written
    }
    if (static_cast<int>(lParam) != m_nCurrentWriteId || !m_pSegments) {
        KORVIX_TRACE(L"OnUnionFileCompleteMsg() err:m_nCurrentWriteId != (int)lParam \n\r");
        PostToDialog(WM_DOWN_ERROR, 0, DOWN_ERR_SYSTEM);
        return 0;
    }
    FreeSegmentBuffer(m_pSegments[m_nCurrentWriteId]);
    if (m_nCurrentWriteId == SEGMENT_COUNT - 1) {
        m_pSegments.reset();
        InstallerJob* pJob = NewInstallerJob();
        if (!pJob) {
            // The file stays held: the failure's clean-up deletes it.
            PostToDialog(WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_SYSTEM);
            return 0;
        }
        g_hDownFile.Close();  // the installer thread opens it again, unshared
        if (!StartWorker(RunInstallerThread, pJob, DOWN_ERR_SYSTEM)) {
            DWORD dwError = 0;
            g_downloadFolder.DeleteOwnFile(pJob->strPartialName, dwError);
            delete pJob;
        }
        return 0;
    }
    ++m_nCurrentWriteId;
    auto it = std::find(m_vecWaitWrite.begin(), m_vecWaitWrite.end(), m_nCurrentWriteId);
    if (it != m_vecWaitWrite.end()) {
        m_vecWaitWrite.erase(it);
        StartSegmentWrite(m_nCurrentWriteId);
    }
    return 0;
}
