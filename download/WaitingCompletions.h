#pragma once

#include <windows.h>

// Byte reports arrive by the thousand and, with 40 transfers busy, the
// dialog's thread handles them more slowly than they are posted: a report
// that a segment is complete or written can wait behind hundreds of them,
// and the in-order writes it would start pile up at the end. The progress
// handler therefore looks behind the stream every so many byte reports.
const int COMPLETION_CHECK_EVERY = 16;

// Takes the segment-complete and segment-written reports already posted to
// hWnd out of its queue and dispatches them, each kind in the order it was
// posted. Other messages (failures included, whose handling depends on the
// byte reports before them) keep their place. Returns how many it took.
int DispatchWaitingCompletions(HWND hWnd);
