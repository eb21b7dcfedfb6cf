#pragma once

#include "InstallWorkers.h"

// The program's workers: each job on a thread of its own, started with
// _beginthreadex on a copy of its record, which the thread owns.
class CWorkerThreads : public IInstallWorkers {
public:
    void StartSizeQuery(const TransferJob& job) override;
    void StartProxyLookup(const ProxyLookupJob& job) override;
    void StartSegment(const SegmentJob& job) override;
    void StartWrite(const WriteJob& job) override;
    void StartInstaller(const InstallerJob& job) override;
};
