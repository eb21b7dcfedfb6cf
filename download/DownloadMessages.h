#pragma once

#include <windows.h>

struct WinHttpProxy;

// Reports posted by the worker threads to the window their job names. Workers
// only post (final reports until they are taken, WorkerReports.h); every
// handler runs on the user-interface thread. The crackers below hand each
// handler its report's fields with their types.

// wParam 0: lParam = bytes a transfer stored since its last report (at most
// one report per BYTE_REPORT_PERIOD_MS, and the rest before its final
// report). Otherwise wParam is an absolute percentage (90: installer
// starting, 100: installer ended).
const UINT WM_DOWN_PROGRESS = WM_USER + 200;  // 1224
// Size query succeeded. wParam 0; lParam: file size in bytes.
const UINT WM_DOWN_FILESIZE = WM_USER + 201;  // 1225
// A segment is complete in memory. wParam 0; lParam: segment id.
const UINT WM_SEGMENT_COMPLETE = WM_USER + 202;  // 1226
// A failure of a piece of work other than a segment's transfer. wParam: the
// worker's Win32 error (or the child's exit code), 0 when none; lParam: a
// DownError saying which work failed.
const UINT WM_DOWN_ERROR = WM_USER + 203;  // 1227
// The installer process has ended well. wParam 0; lParam 0.
const UINT WM_INSTALL_COMPLETE = WM_USER + 204;  // 1228
// A segment is on disk. wParam 0; lParam: segment id.
const UINT WM_UNION_FILE_COMPLETE = WM_USER + 205;  // 1229
// A segment's transfer failed. wParam: the worker's error; lParam: its id.
const UINT WM_SEGMENT_FAILED = WM_USER + 206;  // 1230
// The fallback's proxy was looked up. wParam: the worker's error, 0 when
// found; lParam: the WinHttpProxy found (new, the receiver's), or null.
const UINT WM_PROXY_FOUND = WM_USER + 207;  // 1231

// Which work a WM_DOWN_ERROR reports.
enum DownError : int {
    DOWN_ERR_FILESIZE = 41,  // the size query failed
    DOWN_ERR_SYSTEM = 42,    // a local failure (file, picture, process, memory)
    DOWN_ERR_URL = 43,       // the download address names no file
    // The downloaded installer is not the publisher's own (refused, deleted):
    // ends as a network failure, so that the user fetches it in the browser.
    DOWN_ERR_UNTRUSTED = 44,
    DOWN_ERR_WRITE = 45,  // a segment's write failed; no write runs any more
};

// void OnDownProgressMsg(int nPercent, DWORD nBytes): nPercent 0 for bytes.
#define MSG_WM_DOWN_PROGRESS(func) \
    MSG_CRACKED_VOID(WM_DOWN_PROGRESS, func(static_cast<int>(wParam), static_cast<DWORD>(lParam)))
// void OnFileSizeMsg(DWORD nFileSize)
#define MSG_WM_DOWN_FILESIZE(func) \
    MSG_CRACKED_VOID(WM_DOWN_FILESIZE, func(static_cast<DWORD>(lParam)))
// void OnSegmentCompleteMsg(int nId)
#define MSG_WM_SEGMENT_COMPLETE(func) \
    MSG_CRACKED_VOID(WM_SEGMENT_COMPLETE, func(static_cast<int>(lParam)))
// void OnSegmentFailedMsg(int nId, DWORD dwError)
#define MSG_WM_SEGMENT_FAILED(func) \
    MSG_CRACKED_VOID(WM_SEGMENT_FAILED, func(static_cast<int>(lParam), static_cast<DWORD>(wParam)))
// void OnDownErrorMsg(DownError nWork, DWORD dwError)
#define MSG_WM_DOWN_ERROR(func)     \
    MSG_CRACKED_VOID(WM_DOWN_ERROR, \
                     func(static_cast<DownError>(lParam), static_cast<DWORD>(wParam)))
// void OnUnionFileCompleteMsg(int nId)
#define MSG_WM_UNION_FILE_COMPLETE(func) \
    MSG_CRACKED_VOID(WM_UNION_FILE_COMPLETE, func(static_cast<int>(lParam)))
// void OnInstallCompleteMsg()
#define MSG_WM_INSTALL_COMPLETE(func) MSG_CRACKED_VOID(WM_INSTALL_COMPLETE, func())
// void OnProxyFoundMsg(WinHttpProxy* pFound, DWORD dwError): pFound owned, or null
#define MSG_WM_PROXY_FOUND(func)     \
    MSG_CRACKED_VOID(WM_PROXY_FOUND, \
                     func(reinterpret_cast<WinHttpProxy*>(lParam), static_cast<DWORD>(wParam)))
