// The bar's position and the status line from the bytes received.

#include <windows.h>

#include <gtest/gtest.h>

#include "DownloadProgress.h"

TEST(DownloadProgress, TheDownloadFillsEightyPercent) {
    EXPECT_EQ(20, DownloadPosition(1000000, 4000000));
    EXPECT_EQ(80, DownloadPosition(4000000, 4000000));
    EXPECT_EQ(81, DownloadPosition(43, 43));
    EXPECT_EQ(0, DownloadPosition(0, 4000000));
    // 2,000,000,000 * 10 would wrap in 32 bits.
    EXPECT_EQ(80, DownloadPosition(2000000000u, 2000000000u));
    EXPECT_EQ(40, DownloadPosition(1000000000u, 2000000000u));
}

TEST(DownloadProgress, TextIsWaitPercentFinish) {
    EXPECT_EQ(L"Installing, please wait(45% finished.)",
              FormatProgressText(L"Installing, please wait(", 45, L"finished.)"));
    EXPECT_EQ(L"a0% b", FormatProgressText(L"a", 0, L"b"));
}
