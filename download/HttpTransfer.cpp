#include "HttpTransfer.h"

#include <cstring>
#include <memory>

#include "DownloadMessages.h"
#include "HttpAnswer.h"
#include "HttpRequest.h"
#include "SegmentPlan.h"
#include "WorkerJobs.h"
#include "WorkerReports.h"

namespace {

const DWORD kReadSize = 102400;

std::unique_ptr<CHttpRequest> NewRequest(const TransferJob& job) {
    return std::unique_ptr<CHttpRequest>(job.bFallback ? NewWinHttpRequest(job.fallbackProxy)
                                                       : NewWinInetRequest(job.bWinInetPreconfig));
}

// Whether the reply may fill the buffer: the range judge of HttpAnswer, on
// the file whose size was reported.
bool AnswersRange(CHttpRequest& request, DWORD nFirst, DWORD nLast, DWORD nFileSize) {
    DWORD nStatus = 0;
    std::wstring strRange;
    return request.QueryStatus(nStatus) && request.QueryContentRange(strRange) &&
           JudgeRangeReply(nStatus, strRange.c_str(), nFirst, nLast, nFileSize);
}

// One attempt at the rest of the segment, each read's bytes handed to bytes
// for their reports; the final report is the caller's. Returns true when the
// buffer is full, else false with the error to report.
bool FetchSegment(const SegmentJob& job, CByteReporter& bytes, DWORD& dwError) {
    dwError = 0;
    SegmentInfo& segment = *job.pSegment;
    const DWORD nFirst = FirstWantedByte(segment);
    const DWORD nLast = LastWantedByte(segment);
    std::unique_ptr<CHttpRequest> request = NewRequest(job.transfer);
    if (!request->Open() || !request->Connect(job.transfer.strHost)) {
        return false;
    }
    request->SetMaxConnections();
    if (!request->OpenRequest(L"GET", job.transfer.strObject) ||
        !request->AddHeader(RangeHeader(segment))) {
        return false;
    }
    if (!request->Send()) {
        dwError = GetLastError();
        return false;
    }
    if (!AnswersRange(*request, nFirst, nLast, job.transfer.nFileSize)) {
        dwError = ERROR_INVALID_DATA;
        return false;
    }
    BYTE readBuffer[kReadSize];  // the thread's own; 100 KiB of its stack
    BYTE* pWrite = segment.pBuffer + segment.nReceived;
    BYTE* const pEnd = segment.pBuffer + segment.nLength;
    for (;;) {
        DWORD nRead = 0;
        if (!request->Read(readBuffer, kReadSize, nRead)) {
            dwError = GetLastError();
            return false;
        }
        switch (JudgeRead(nRead, static_cast<DWORD>(pEnd - pWrite))) {
            case ReadVerdict::kEndedEarly:
                dwError = ERROR_HANDLE_EOF;
                return false;
            case ReadVerdict::kTooLong:
                dwError = ERROR_INVALID_DATA;
                return false;
            case ReadVerdict::kStore:
                break;
        }
        memcpy(pWrite, readBuffer, nRead);
        pWrite += nRead;
        segment.nReceived += nRead;
        bytes.Stored(nRead);
        if (pWrite == pEnd) {
            return true;
        }
    }
}

}  // namespace

unsigned __stdcall GetFileSizeThread(void* pParam) {
    const std::unique_ptr<TransferJob> pJob(static_cast<TransferJob*>(pParam));
    std::unique_ptr<CHttpRequest> request = NewRequest(*pJob);
    DWORD nStatus = 0;
    std::wstring strLength;
    DWORD nSize = 0;
    bool bOk = request->Open() && request->Connect(pJob->strHost) &&
               request->OpenRequest(request->SizeQueryVerb(), pJob->strObject) && request->Send() &&
               request->QueryStatus(nStatus) && request->QueryContentLength(strLength) &&
               JudgeSizeReply(nStatus, strLength.c_str(), nSize);
    if (bOk) {
        PostFinalReport(pJob->hReportTo, WM_DOWN_FILESIZE, 0, static_cast<LPARAM>(nSize));
    } else {
        PostFinalReport(pJob->hReportTo, WM_DOWN_ERROR, GetLastError(), DOWN_ERR_FILESIZE);
    }
    return 1;
}

unsigned __stdcall DownloadSegmentThread(void* pParam) {
    const std::unique_ptr<SegmentJob> pJob(static_cast<SegmentJob*>(pParam));
    const SegmentInfo& segment = *pJob->pSegment;
    DWORD dwError = 0;
    CByteReporter bytes(pJob->transfer.hReportTo);
    const bool bComplete =
        segment.nReceived >= segment.nLength || FetchSegment(*pJob, bytes, dwError);
    bytes.Flush();  // every byte is reported before the transfer's end
    if (bComplete) {
        PostFinalReport(pJob->transfer.hReportTo, WM_SEGMENT_COMPLETE, 0, segment.nId);
    } else {
        PostFinalReport(pJob->transfer.hReportTo, WM_SEGMENT_FAILED, dwError, segment.nId);
    }
    return 1;
}
