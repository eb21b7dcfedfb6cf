#pragma once

// Worker threads of the download; each posts its reports to the dialog.

// Asks for the file size: one WM_DOWN_FILESIZE or one WM_DOWN_ERROR (41).
unsigned __stdcall GetFileSizeThread(void* pParam);
// Fetches the rest of one segment (a SegmentInfo*) into its buffer: progress
// reports, then one WM_SEGMENT_COMPLETE or one WM_DOWN_ERROR with its id.
unsigned __stdcall DownloadSegmentThread(void* pParam);
