#pragma once

#include <string>

#include "SegmentInfo.h"

// Cuts nFileSize bytes into SEGMENT_COUNT ranges of nFileSize / 40 bytes,
// the last one taking the remainder. Buffers are left null.
void PlanSegments(DWORD nFileSize, SegmentInfo* pSegments);

// A planned table for nFileSize bytes with every buffer, or an empty one
// when memory runs out (nothing is kept then).
SegmentTable NewSegmentTable(DWORD nFileSize);

// The bytes a transfer of the segment still wants: from the first byte not
// yet received to the segment's last byte.
DWORD FirstWantedByte(const SegmentInfo& segment);
DWORD LastWantedByte(const SegmentInfo& segment);

// "Range:bytes=first-last" for what the segment still wants.
std::wstring RangeHeader(const SegmentInfo& segment);
