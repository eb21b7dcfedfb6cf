#pragma once

#include <windows.h>

// The download is cut into this many byte ranges, fetched side by side.
const int SEGMENT_COUNT = 40;

// One byte range of the download. Its download thread is the only writer of
// nReceived and the buffer while it runs; the dialog reads the buffer (through
// the write thread) only after the segment is complete.
struct SegmentInfo {
    int nId;           // 0..39, the record's index in the table
    DWORD nOffset;     // first byte of the range in the file
    DWORD nLength;     // bytes in the range
    DWORD nReceived;   // bytes stored so far
    BYTE* pBuffer;     // nLength bytes; null once written (or when empty)
};
