#pragma once

// Worker threads of the download; each owns its job (made with new) and
// posts its reports to the job's window.

// Asks for the file size (a TransferJob*): one WM_DOWN_FILESIZE or one
// WM_DOWN_ERROR with DOWN_ERR_FILESIZE.
unsigned __stdcall GetFileSizeThread(void* pParam);
// Fetches the rest of one segment (a SegmentJob*) into its buffer: progress
// reports, then one WM_SEGMENT_COMPLETE or one WM_SEGMENT_FAILED.
unsigned __stdcall DownloadSegmentThread(void* pParam);
