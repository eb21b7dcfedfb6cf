// The 40 ranges of a file and the Range header of each attempt.

#include <windows.h>

#include <gtest/gtest.h>

#include "SegmentPlan.h"

TEST(SegmentPlan, FortySegmentsTheLastTakingTheRemainder) {
    SegmentInfo segments[SEGMENT_COUNT];
    PlanSegments(4000039, segments);
    for (int i = 0; i < 39; ++i) {
        EXPECT_EQ(i, segments[i].nId);
        EXPECT_EQ(static_cast<DWORD>(i) * 100000, segments[i].nOffset);
        EXPECT_EQ(100000u, segments[i].nLength);
        EXPECT_EQ(0u, segments[i].nReceived);
        EXPECT_EQ(nullptr, segments[i].pBuffer);
    }
    EXPECT_EQ(3900000u, segments[39].nOffset);
    EXPECT_EQ(100039u, segments[39].nLength);

    PlanSegments(7, segments);  // under 40 bytes: 39 empty ranges, then 7
    EXPECT_EQ(0u, segments[0].nLength);
    EXPECT_EQ(0u, segments[39].nOffset);
    EXPECT_EQ(7u, segments[39].nLength);
}

TEST(SegmentPlan, RangeHeaderResumesAfterTheBytesReceived) {
    SegmentInfo segment = {3, 300000, 100000, 0, nullptr};
    EXPECT_EQ(L"Range:bytes=300000-399999", RangeHeader(segment));
    segment.nReceived = 65536;
    EXPECT_EQ(L"Range:bytes=365536-399999", RangeHeader(segment));
}

// The largest size the program accepts (2^31 - 1): no sum passes 32 bits and
// the last range ends on the last byte.
TEST(SegmentPlan, LargestFileEndsOnItsLastByte) {
    SegmentInfo segments[SEGMENT_COUNT];
    PlanSegments(2147483647u, segments);
    EXPECT_EQ(2093796549u, segments[39].nOffset);
    EXPECT_EQ(53687098u, segments[39].nLength);
    EXPECT_EQ(2147483646u, LastWantedByte(segments[39]));
    EXPECT_EQ(L"Range:bytes=2093796549-2147483646", RangeHeader(segments[39]));
    segments[39].nReceived = segments[39].nLength - 1;
    EXPECT_EQ(L"Range:bytes=2147483646-2147483646", RangeHeader(segments[39]));
}
