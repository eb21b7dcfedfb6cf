#include "SegmentWriter.h"

#include <process.h>

#include <memory>
#include <new>

#include "BlockWrite.h"
#include "DownloadMessages.h"
#include "WorkerReports.h"

namespace {

// Sleeps until a segment comes (as an APC, in the order queued), for good.
unsigned __stdcall WriterThread(void* /*pParam*/) {
    for (;;) {
        SleepEx(INFINITE, TRUE);
    }
}

// Runs on the writer's thread; owns the job.
void CALLBACK WriteQueuedSegment(ULONG_PTR nJob) {
    const std::unique_ptr<WriteJob> pJob(reinterpret_cast<WriteJob*>(nJob));
    const SegmentInfo& segment = *pJob->pSegment;
    DWORD dwError = 0;
    if (!WriteInBlocks(pJob->hFile, segment.pBuffer, segment.nLength, dwError)) {
        PostFinalReport(pJob->hReportTo, WM_DOWN_ERROR, dwError, DOWN_ERR_WRITE);
        return;
    }
    FlushFileBuffers(pJob->hFile);
    PostFinalReport(pJob->hReportTo, WM_UNION_FILE_COMPLETE, 0, segment.nId);
}

}  // namespace

bool CSegmentWriter::Write(const WriteJob& job) {
    if (!m_hThread) {
        m_hThread.Attach(reinterpret_cast<HANDLE>(
            _beginthreadex(nullptr, 0, WriterThread, nullptr, 0, nullptr)));
        if (!m_hThread) {
            return false;
        }
    }
    std::unique_ptr<WriteJob> pCopy(new (std::nothrow) WriteJob(job));
    if (!pCopy || !QueueUserAPC(WriteQueuedSegment, m_hThread.Get(),
                                reinterpret_cast<ULONG_PTR>(pCopy.get()))) {
        return false;
    }
    (void)pCopy.release();  // the writer's now
    return true;
}
