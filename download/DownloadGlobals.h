#pragma once

#include <windows.h>

#include <string>

#include "DownloadFolder.h"
#include "UniqueHandle.h"

// State shared between the dialog and its workers. Only the user-interface
// thread writes it; workers read the host, object path and transport, which
// are fixed before the size query of a start is created.
extern std::wstring g_strHost;        // host of the download address
extern std::wstring g_strObject;      // its path, without the leading "/"
extern std::wstring g_strPublicDocs;  // all-users documents; "Velmora" below it
// The download folder, open from the partial file's creation to the end of
// the run; the installer thread uses it while it runs.
extern CDownloadFolder g_downloadFolder;
extern CFileHandle g_hDownFile;  // the file being assembled, or none
extern DWORD g_nDownBytes;       // bytes received by all transfers; never reset
extern int g_nFatalCount;        // while above 0 every failure report is ignored
extern bool g_bFallback;         // WinHTTP on port 80 after the one restart
// The size the size query reported, set before the first segment starts: a
// range reply that names another total is of another version of the file.
extern DWORD g_nFileSize;

// A relaunch is granted while the count since the last progress is at most
// this: 41 relaunches fit between two progress reports.
const int MAX_RETRY = 40;
// A transport's size query has this long for its tries: each try of a host
// that drops every packet waits out its time-outs, and 42 of them would
// keep the user waiting at 0% for a quarter of an hour.
const DWORD SIZE_QUERY_LIMIT_MS = 60000;
// While the file's ranges are under way, this long without a byte (a
// silent server, a dead link that keeps its connections open) ends in the
// network outcome, as a spent budget does: a download that moves at all
// goes on.
const DWORD SILENCE_LIMIT_MS = 120000;
// A failure waiting for its relaunch shows in the status line once no byte
// has come for this long; while bytes flow the percentage stays.
const DWORD RECONNECT_TEXT_AFTER_MS = 2000;

// Starts a worker with _beginthreadex and closes its handle. When the thread
// cannot be created the dialog is told with nFailureCode instead, so that
// every started job ends in a report; false then.
bool StartWorker(unsigned(__stdcall* pfnThread)(void*), void* pParam, LPARAM nFailureCode);
// Posts a report to the dialog's window.
void PostToDialog(UINT uMsg, WPARAM wParam, LPARAM lParam);
// The download folder's name under the all-users documents.
const wchar_t kDownloadFolderName[] = L"Velmora";
// The partial file's name in the download folder (".../setup.exe" gives
// setup.down); false when the download address names no file.
bool PartialFileName(std::wstring& strName);
// The installer's name in the download folder: the address's last part,
// query included (".../setup.exe" gives setup.exe).
std::wstring InstallerFileName();
