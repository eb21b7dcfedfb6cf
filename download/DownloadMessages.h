#pragma once

#include <windows.h>

// Messages posted to the main dialog's window by the worker threads (and the
// shell). Workers only post; every handler runs on the user-interface thread.

// The notification-area icon. wParam: icon id (1); lParam: mouse message.
const UINT WM_TRAY_NOTIFY = WM_USER + 100;  // 1124
// wParam 0: lParam = bytes just received. Otherwise wParam is an absolute
// percentage (90: installer starting, 100: installer ended).
const UINT WM_DOWN_PROGRESS = WM_USER + 200;  // 1224
// Size query succeeded. wParam 0; lParam: file size in bytes.
const UINT WM_DOWN_FILESIZE = WM_USER + 201;  // 1225
// A segment is complete in memory. wParam 0; lParam: segment id.
const UINT WM_SEGMENT_COMPLETE = WM_USER + 202;  // 1226
// A failure. wParam: Win32 error code or 0; lParam: a DOWN_ERR_* code or a
// segment id 0..39.
const UINT WM_DOWN_ERROR = WM_USER + 203;  // 1227
// The installer process has ended. wParam 0; lParam 0.
const UINT WM_INSTALL_COMPLETE = WM_USER + 204;  // 1228
// A segment is on disk. wParam 0; lParam: segment id.
const UINT WM_UNION_FILE_COMPLETE = WM_USER + 205;  // 1229

// Failure codes of WM_DOWN_ERROR beyond the segment ids.
const LPARAM DOWN_ERR_FILESIZE = 41;  // the size query failed
const LPARAM DOWN_ERR_SYSTEM = 42;    // a local failure (file, image, process)
const LPARAM DOWN_ERR_URL = 43;       // the download address names no file
// The downloaded installer is not the publisher's own (refused, deleted):
// ends as a network failure, so that the user fetches it in the browser.
const LPARAM DOWN_ERR_UNTRUSTED = 44;
