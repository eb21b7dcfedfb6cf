#include "WorkerThreads.h"

#include <windows.h>
#include <process.h>

#include <memory>
#include <new>

#include "SegmentWriter.h"
#include "DownloadMessages.h"
#include "HttpTransfer.h"
#include "InstallerLaunch.h"
#include "ProxyDiscovery.h"

namespace {

// Starts pfnThread on a copy of job and closes its handle. False, with
// nothing started, when there was no memory for either.
template <class TJob>
bool StartOn(unsigned(__stdcall* pfnThread)(void*), const TJob& job) {
    std::unique_ptr<TJob> pCopy(new (std::nothrow) TJob(job));
    if (!pCopy) {
        return false;
    }
    const uintptr_t hThread = _beginthreadex(nullptr, 0, pfnThread, pCopy.get(), 0, nullptr);
    if (hThread == 0) {
        return false;
    }
    (void)pCopy.release();  // the thread's now
    CloseHandle(reinterpret_cast<HANDLE>(hThread));
    return true;
}

}  // namespace

void CWorkerThreads::StartSizeQuery(const TransferJob& job) {
    if (!StartOn(GetFileSizeThread, job)) {
        PostMessageW(job.hReportTo, WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_FILESIZE);
    }
}

void CWorkerThreads::StartProxyLookup(const ProxyLookupJob& job) {
    if (!StartOn(FindProxyThread, job)) {
        PostMessageW(job.hReportTo, WM_PROXY_FOUND, ERROR_NOT_ENOUGH_MEMORY, 0);
    }
}

void CWorkerThreads::StartSegment(const SegmentJob& job) {
    if (!StartOn(DownloadSegmentThread, job)) {
        PostMessageW(job.transfer.hReportTo, WM_SEGMENT_FAILED, ERROR_NOT_ENOUGH_MEMORY,
                     job.pSegment->nId);
    }
}

void CWorkerThreads::StartWrite(const WriteJob& job) {
    if (!StartOn(WriteSegmentThread, job)) {
        PostMessageW(job.hReportTo, WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_WRITE);
    }
}

void CWorkerThreads::StartInstaller(const InstallerJob& job) {
    if (!StartOn(RunInstallerThread, job)) {
        // The controller has let the file go: nothing else would delete it.
        DWORD dwError = 0;
        job.pFolder->DeleteOwnFile(job.strPartialName, dwError);
        PostMessageW(job.hReportTo, WM_DOWN_ERROR, ERROR_NOT_ENOUGH_MEMORY, DOWN_ERR_SYSTEM);
    }
}
