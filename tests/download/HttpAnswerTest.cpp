// The judge of what a server answered, case by case.
#include <windows.h>

#include <gtest/gtest.h>

#include "HttpAnswer.h"

namespace {

struct SizeCase {
    DWORD nStatus;
    const wchar_t* pszLength;
    bool bAccepted;
    DWORD nSize;
};

const SizeCase kSizeCases[] = {
    {200, L"6000037", true, 6000037},
    {204, L"2147483647", true, 2147483647},
    {200, L"2147483648", false, 0},  // beyond the signed 32-bit sizes
    {200, L"99999999999999999999", false, 0},
    {200, L"0", false, 0},
    {200, L"", false, 0},
    {200, L"12abc", false, 0},
    {200, L"-5", false, 0},
    {404, L"6000037", false, 0},  // the size of an error page
    {302, L"6000037", false, 0},
    {199, L"6000037", false, 0},
    {300, L"6000037", false, 0},
};

TEST(HttpAnswer, SizeReplyIsATwoHundredWithAPlannableLength) {
    for (const SizeCase& c : kSizeCases) {
        DWORD nSize = 0;
        EXPECT_EQ(c.bAccepted, JudgeSizeReply(c.nStatus, c.pszLength, nSize))
            << c.nStatus << " " << c.pszLength;
        EXPECT_EQ(c.nSize, nSize) << c.nStatus << " " << c.pszLength;
    }
}

struct RangeCase {
    DWORD nStatus;
    const wchar_t* pszRange;
    DWORD nFirst;
    DWORD nLast;
    DWORD nTotal;
    bool bAccepted;
};

const RangeCase kRangeCases[] = {
    {206, L"bytes 300000-399999/4000000", 300000, 399999, 4000000, true},
    {206, L"bytes 0-9/*", 0, 9, 4000000, true},
    {206, L"bytes 300000-399998/4000000", 300000, 399999, 4000000, false},
    {206, L"bytes 0-3999999/4000000", 300000, 399999, 4000000, false},
    {206, L"bytes */4000000", 300000, 399999, 4000000, false},
    {206, L"", 0, 9, 10, false},
    {206, L"bytes 0-9/10 junk", 0, 9, 10, false},
    // The right bytes of another version of the file (replaced meanwhile).
    {206, L"bytes 300000-399999/4000001", 300000, 399999, 4000000, false},
    {206, L"bytes 0-9/", 0, 9, 10, false},
    // The whole file with a range header of its own, or an error page.
    {200, L"bytes 0-9/10", 0, 9, 10, false},
    {416, L"bytes */10", 0, 9, 10, false},
};

TEST(HttpAnswer, OnlyTheRequestedRangeOfThisFileCounts) {
    for (const RangeCase& c : kRangeCases) {
        EXPECT_EQ(c.bAccepted, JudgeRangeReply(c.nStatus, c.pszRange, c.nFirst, c.nLast, c.nTotal))
            << c.nStatus << " " << c.pszRange << " for " << c.nFirst << "-" << c.nLast << "/"
            << c.nTotal;
    }
}

TEST(HttpAnswer, EachReadIsJudgedAgainstWhatIsLeft) {
    const struct {
        DWORD nRead;
        DWORD nLeft;
        ReadVerdict verdict;
    } kReads[] = {
        {102400, 300000, ReadVerdict::kStore},
        {300000, 300000, ReadVerdict::kStore},  // the last read fills it
        {300001, 300000, ReadVerdict::kTooLong},
        {0, 300000, ReadVerdict::kEndedEarly},
        {1, 0, ReadVerdict::kTooLong},
    };
    for (const auto& r : kReads) {
        EXPECT_EQ(r.verdict, JudgeRead(r.nRead, r.nLeft)) << r.nRead << " of " << r.nLeft;
    }
}

}  // namespace
