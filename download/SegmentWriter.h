#pragma once

#include "UniqueHandle.h"
#include "WorkerJobs.h"

// The one writer of the partial file: a thread of its own, started with the
// first segment handed to it and kept until the process ends, that appends
// each segment at the file's position in the order handed (the controller
// hands them in id order, one at a time), flushed, and reports each:
// WM_UNION_FILE_COMPLETE, or WM_DOWN_ERROR with DOWN_ERR_WRITE and the error.
// A waiting write costs no thread start.
class CSegmentWriter {
public:
    CSegmentWriter() = default;
    CSegmentWriter(const CSegmentWriter&) = delete;
    CSegmentWriter& operator=(const CSegmentWriter&) = delete;

    // Hands the segment of job over (copied); false, with nothing handed
    // over, when the thread or the copy could not be had. Called on one
    // thread only.
    bool Write(const WriteJob& job);

private:
    CKernelHandle m_hThread;
};
