#pragma once

#include <windows.h>

#include <memory>

// The download is cut into this many byte ranges, fetched side by side.
const int SEGMENT_COUNT = 40;

// One byte range of the download. Its download thread is the only writer of
// nReceived and the buffer while it runs; the dialog reads the buffer (through
// the write thread) only after the segment is complete.
struct SegmentInfo {
    int nId;          // 0..39, the record's index in the table
    DWORD nOffset;    // first byte of the range in the file
    DWORD nLength;    // bytes in the range
    DWORD nReceived;  // bytes stored so far
    BYTE* pBuffer;    // nLength bytes; null once written (or when empty)
};

// Frees a segment's buffer (once it is on disk) and leaves it null.
void FreeSegmentBuffer(SegmentInfo& segment);

// The table of SEGMENT_COUNT records owns the buffers still in it.
struct SegmentTableDeleter {
    void operator()(SegmentInfo* pSegments) const;
};
using SegmentTable = std::unique_ptr<SegmentInfo[], SegmentTableDeleter>;
