#include "HttpTransfer.h"

#include <cstring>
#include <memory>

#include "DownloadGlobals.h"
#include "DownloadMessages.h"
#include "HttpAnswer.h"
#include "HttpRequest.h"
#include "SegmentPlan.h"

namespace {

const DWORD kReadSize = 102400;

std::unique_ptr<CHttpRequest> NewRequest() {
    return std::unique_ptr<CHttpRequest>(g_bFallback ? NewWinHttpRequest() : NewWinInetRequest());
}

// Whether the reply may fill the buffer: the range judge of HttpAnswer, on
// the file whose size was reported.
bool AnswersRange(CHttpRequest& request, DWORD nFirst, DWORD nLast) {
    DWORD nStatus = 0;
    std::wstring strRange;
    return request.QueryStatus(nStatus) && request.QueryContentRange(strRange) &&
           JudgeRangeReply(nStatus, strRange.c_str(), nFirst, nLast, g_nFileSize);
}

// One attempt at the rest of the segment; the final report is the caller's.
// Returns true when the buffer is full, else false with the error to report.
bool FetchSegment(SegmentInfo& segment, DWORD& dwError) {
    dwError = 0;
    const DWORD nFirst = FirstWantedByte(segment);
    const DWORD nLast = LastWantedByte(segment);
    std::unique_ptr<CHttpRequest> request = NewRequest();
    if (!request->Open() || !request->Connect(g_strHost)) {
        return false;
    }
    request->SetMaxConnections();
    if (!request->OpenRequest(L"GET", g_strObject) || !request->AddHeader(RangeHeader(segment))) {
        return false;
    }
    if (!request->Send()) {
        dwError = GetLastError();
        return false;
    }
    if (!AnswersRange(*request, nFirst, nLast)) {
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
        PostToDialog(WM_DOWN_PROGRESS, 0, static_cast<LPARAM>(nRead));
        if (pWrite == pEnd) {
            return true;
        }
    }
}

}  // namespace

unsigned __stdcall GetFileSizeThread(void* /*pParam*/) {
    std::unique_ptr<CHttpRequest> request = NewRequest();
    DWORD nStatus = 0;
    std::wstring strLength;
    DWORD nSize = 0;
    bool bOk = request->Open() && request->Connect(g_strHost) &&
               request->OpenRequest(request->SizeQueryVerb(), g_strObject) && request->Send() &&
               request->QueryStatus(nStatus) && request->QueryContentLength(strLength) &&
               JudgeSizeReply(nStatus, strLength.c_str(), nSize);
    if (bOk) {
        PostToDialog(WM_DOWN_FILESIZE, 0, static_cast<LPARAM>(nSize));
    } else {
        PostToDialog(WM_DOWN_ERROR, GetLastError(), DOWN_ERR_FILESIZE);
    }
    return 1;
}

unsigned __stdcall DownloadSegmentThread(void* pParam) {
    SegmentInfo& segment = *static_cast<SegmentInfo*>(pParam);
    DWORD dwError = 0;
    if (segment.nReceived >= segment.nLength || FetchSegment(segment, dwError)) {
        PostToDialog(WM_SEGMENT_COMPLETE, 0, segment.nId);
    } else {
        PostToDialog(WM_DOWN_ERROR, dwError, segment.nId);
    }
    return 1;
}
