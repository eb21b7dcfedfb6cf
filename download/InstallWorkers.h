#pragma once

#include "WorkerJobs.h"

// How the controller starts its workers, each on a copy of its job. Each
// started job ends in exactly one final report to its window. A worker that
// cannot be started (no memory for its copy or its thread) is false, with
// nothing started and no report to come: the controller handles that failure
// itself, at once (it never posts to its own window). The tests put fake
// workers here.
class IInstallWorkers {
public:
    virtual ~IInstallWorkers() = default;
    // WM_DOWN_FILESIZE, or WM_DOWN_ERROR with DOWN_ERR_FILESIZE.
    virtual bool StartSizeQuery(const TransferJob& job) = 0;
    // WM_PROXY_FOUND, with the proxy found or an error.
    virtual bool StartProxyLookup(const ProxyLookupJob& job) = 0;
    // Byte reports, then WM_SEGMENT_COMPLETE or WM_SEGMENT_FAILED.
    virtual bool StartSegment(const SegmentJob& job) = 0;
    // WM_UNION_FILE_COMPLETE, or WM_DOWN_ERROR with DOWN_ERR_WRITE.
    virtual bool StartWrite(const WriteJob& job) = 0;
    // 90 and 100, then WM_INSTALL_COMPLETE; or WM_DOWN_ERROR. The started
    // worker owns the job's file handle; one that cannot start leaves it
    // to the caller.
    virtual bool StartInstaller(const InstallerJob& job) = 0;
};
