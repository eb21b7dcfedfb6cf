#include "WorkerThreads.h"

#include <windows.h>
#include <process.h>

#include <memory>
#include <new>

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

bool CWorkerThreads::StartSizeQuery(const TransferJob& job) {
    return StartOn(GetFileSizeThread, job);
}

bool CWorkerThreads::StartProxyLookup(const ProxyLookupJob& job) {
    return StartOn(FindProxyThread, job);
}

bool CWorkerThreads::StartSegment(const SegmentJob& job) {
    return StartOn(DownloadSegmentThread, job);
}

bool CWorkerThreads::StartWrite(const WriteJob& job) {
    return m_writer.Write(job);
}

bool CWorkerThreads::StartInstaller(const InstallerJob& job) {
    return StartOn(RunInstallerThread, job);
}
