#pragma once

#include <windows.h>

// The one judge of what a server answered, so that an error page or a range
// other than the one asked for never becomes part of the installer. The
// transports only read the raw values; every decision on them is here.

// A size the download can plan with: 1 .. 2^31 - 1 (the download's sizes and
// range bounds are signed 32-bit numbers).
bool IsPlannableSize(DWORD nSize);

// The size a size query's reply reports: a 2xx status and a Content-Length
// text that is a plain decimal number the download can plan with.
bool JudgeSizeReply(DWORD nStatus, const wchar_t* pszContentLength, DWORD& nSize);

// Whether a range reply may fill a segment's buffer: status 206 and a
// Content-Range "bytes first-last/total" for exactly nFirst..nLast of a file
// of nTotal bytes (a total of "*", unknown, passes; another number is
// another version of the file). A whole file (Range ignored), an error
// page, another range or another version would corrupt the download.
bool JudgeRangeReply(DWORD nStatus, const wchar_t* pszContentRange, DWORD nFirst, DWORD nLast,
                     DWORD nTotal);

// What one read of an accepted range reply means while nLeft bytes of the
// range are still wanted.
enum class ReadVerdict {
    kStore,       // keep the bytes; the range is complete when nRead == nLeft
    kEndedEarly,  // nothing came: the answer ended before the range did
    kTooLong,     // more than the range: nothing of it is kept
};
ReadVerdict JudgeRead(DWORD nRead, DWORD nLeft);
