#include "SegmentWriter.h"

#include <memory>

#include "BlockWrite.h"
#include "DownloadMessages.h"
#include "WorkerJobs.h"

unsigned __stdcall WriteSegmentThread(void* pParam) {
    const std::unique_ptr<WriteJob> pJob(static_cast<WriteJob*>(pParam));
    const SegmentInfo& segment = *pJob->pSegment;
    DWORD dwError = 0;
    if (!WriteInBlocks(pJob->hFile, segment.pBuffer, segment.nLength, dwError)) {
        PostMessageW(pJob->hReportTo, WM_DOWN_ERROR, dwError, DOWN_ERR_WRITE);
        return 1;
    }
    FlushFileBuffers(pJob->hFile);
    PostMessageW(pJob->hReportTo, WM_UNION_FILE_COMPLETE, 0, segment.nId);
    return 1;
}
