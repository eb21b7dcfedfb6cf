#include "SegmentPlan.h"

#include <cstdlib>
#include <cwchar>
#include <new>

void PlanSegments(DWORD nFileSize, SegmentInfo* pSegments) {
    const DWORD nChunk = nFileSize / SEGMENT_COUNT;
    for (int i = 0; i < SEGMENT_COUNT; ++i) {
        pSegments[i].nId = i;
        pSegments[i].nOffset = static_cast<DWORD>(i) * nChunk;
        pSegments[i].nLength = nChunk;
        pSegments[i].nReceived = 0;
        pSegments[i].pBuffer = nullptr;
    }
    pSegments[SEGMENT_COUNT - 1].nLength = nFileSize - (SEGMENT_COUNT - 1) * nChunk;
}

void FreeSegmentBuffer(SegmentInfo& segment) {
    free(segment.pBuffer);
    segment.pBuffer = nullptr;
}

void SegmentTableDeleter::operator()(SegmentInfo* pSegments) const {
    for (int i = 0; i < SEGMENT_COUNT; ++i) {
        FreeSegmentBuffer(pSegments[i]);
    }
    delete[] pSegments;
}

SegmentTable NewSegmentTable(DWORD nFileSize) {
    SegmentTable table(new (std::nothrow) SegmentInfo[SEGMENT_COUNT]);
    if (!table) {
        return table;
    }
    PlanSegments(nFileSize, table.get());
    for (int i = 0; i < SEGMENT_COUNT; ++i) {
        if (table[i].nLength == 0) {
            continue;
        }
        // malloc, not new: running out is an answer here, not an exception.
        table[i].pBuffer = static_cast<BYTE*>(malloc(table[i].nLength));
        if (!table[i].pBuffer) {
            return SegmentTable();
        }
    }
    return table;
}

DWORD FirstWantedByte(const SegmentInfo& segment) {
    return segment.nOffset + segment.nReceived;
}

DWORD LastWantedByte(const SegmentInfo& segment) {
    return segment.nOffset + segment.nLength - 1;
}

std::wstring RangeHeader(const SegmentInfo& segment) {
    wchar_t szRange[64] = {};
    swprintf(szRange, 64, L"Range:bytes=%d-%d", static_cast<int>(FirstWantedByte(segment)),
             static_cast<int>(LastWantedByte(segment)));
    return szRange;
}
