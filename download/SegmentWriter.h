#pragma once

// The write worker: appends its segment (a WriteJob*, which it owns) to the
// file at the file's position, flushed, and reports WM_UNION_FILE_COMPLETE,
// or WM_DOWN_ERROR with DOWN_ERR_WRITE and the error.
unsigned __stdcall WriteSegmentThread(void* pParam);
