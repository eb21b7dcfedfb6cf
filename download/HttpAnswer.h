#pragma once

#include <windows.h>

// Checks on what a server answered, so that an error page or a range other
// than the one asked for never becomes part of the installer.

// A Content-Length text that is a plain decimal number from 1 to 2^31 - 1
// (the download's sizes and range bounds are signed 32-bit numbers).
bool ParseContentLength(const wchar_t* pszText, DWORD& nLength);
// A size the download can plan with: 1 .. 2^31 - 1.
bool IsPlannableSize(DWORD nSize);
// Status 2xx: the size query's answer describes the file.
bool IsSuccessStatus(DWORD nStatus);
// A Content-Range value "bytes first-last/total" for exactly first..last of
// a file of nTotal bytes; a total of "*" (unknown) passes, another number
// means another version of the file.
bool IsRequestedRange(const wchar_t* pszContentRange, DWORD nFirst, DWORD nLast, DWORD nTotal);
