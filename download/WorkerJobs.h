#pragma once

#include <windows.h>

#include <string>

#include "DownloadFolder.h"
#include "ProxyPlan.h"
#include "SegmentInfo.h"

// What each worker works on: built by the controller before the worker
// starts and owned by the worker from then on. Nothing in them changes while
// the worker runs; its reports go to hReportTo.

// The download address over one transport: the size query's job, and the
// part of every segment's job that all share.
struct TransferJob {
    HWND hReportTo = nullptr;
    std::wstring strHost;    // host of the download address
    std::wstring strObject;  // its path, without the leading "/"
    bool bFallback = false;  // WinHTTP on port 80 after the one restart
    // How each stack reaches the server: WinINet with the whole of the
    // user's proxy configuration, or without its auto-proxy; the fallback
    // through this proxy (the one look-up's answer, shared by every request).
    bool bWinInetPreconfig = false;
    WinHttpProxy fallbackProxy;
    // The size the size query reported (0 for the size query itself): a range
    // reply that names another total is of another version of the file.
    DWORD nFileSize = 0;
};

// The fallback's proxy for its address, from auto-detection and the user's
// script; the controller waits nLimitMs for the answer.
struct ProxyLookupJob {
    HWND hReportTo = nullptr;
    std::wstring strUrl;  // the fallback's address: http://host/path
    bool bAutoDetect = false;
    std::wstring strScriptUrl;
    DWORD nLimitMs = 0;
};

// One segment's transfer: the rest of its range into its buffer. The worker
// is the only writer of the record's nReceived and buffer while it runs.
struct SegmentJob {
    TransferJob transfer;
    SegmentInfo* pSegment = nullptr;
};

// One segment appended to the partial file; segments are written one at a
// time in id order, so each lands at its own offset without seeking.
struct WriteJob {
    HWND hReportTo = nullptr;
    HANDLE hFile = nullptr;  // held by the controller until the write reports
    const SegmentInfo* pSegment = nullptr;
};

// The installer run: the assembled file, checked and started from the
// download folder. The file passes as the handle the writes went through
// (read, write and delete access, shared for reading only): at no moment is
// it closed and opened again, so no one can step in between.
struct InstallerJob {
    HWND hReportTo = nullptr;
    const CDownloadFolder* pFolder = nullptr;  // held by the controller until the worker reports
    HANDLE hFile = nullptr;                    // the assembled file: the started worker's
    std::wstring strInstallerName;             // its name once moved
    std::wstring strInstallPath;               // where the child installs
    // Fetched over plain HTTP (the fallback): the signer's revocation must be
    // known good.
    bool bPlainHttp = false;
};
