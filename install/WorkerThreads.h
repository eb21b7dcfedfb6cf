#pragma once

#include "InstallWorkers.h"
#include "SegmentWriter.h"

// The program's workers: each job on a thread of its own, started with
// _beginthreadex on a copy of its record, which the thread owns; the writes
// go to the one writer, which keeps its thread.
class CWorkerThreads : public IInstallWorkers {
public:
    bool StartSizeQuery(const TransferJob& job) override;
    bool StartProxyLookup(const ProxyLookupJob& job) override;
    bool StartSegment(const SegmentJob& job) override;
    bool StartWrite(const WriteJob& job) override;
    bool StartInstaller(const InstallerJob& job) override;

private:
    CSegmentWriter m_writer;
};
