#pragma once

#include <string>

#include "SegmentInfo.h"

// Cuts nFileSize bytes into SEGMENT_COUNT ranges of nFileSize / 40 bytes,
// the last one taking the remainder. Buffers are left null.
void PlanSegments(DWORD nFileSize, SegmentInfo* pSegments);

// The bytes a transfer of the segment still wants: from the first byte not
// yet received to the segment's last byte.
DWORD FirstWantedByte(const SegmentInfo& segment);
DWORD LastWantedByte(const SegmentInfo& segment);

// "Range:bytes=first-last" for what the segment still wants.
std::wstring RangeHeader(const SegmentInfo& segment);
