#pragma once

#include <windows.h>

// Byte reports taken by the window's queue from every transfer of the process
// so far (counted before each post, taken back when it fails): against the
// ones the controller has handled, what waits in the queue.
LONG ByteReportsPosted();
// Posts one byte report of nBytes to hWnd and counts it; false when the
// queue did not take it.
bool PostByteReport(HWND hWnd, DWORD nBytes);
