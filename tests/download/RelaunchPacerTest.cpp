// The pauses between relaunches of failed transfers.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "RelaunchPacer.h"

// One transport's 42 tries take about 40 s: the pauses double to a second
// and stay there; a progress report makes them short again; the ids come
// out in the order they failed.
TEST(RelaunchPacer, PausesGrowToASecondAndProgressStartsThemAgain) {
    CRelaunchPacer pacer;
    EXPECT_TRUE(pacer.Queue(41));
    UINT nTotalMs = 0;
    std::vector<UINT> vecFirst;
    for (int i = 0; i < 41; ++i) {
        UINT nPause = pacer.NextPauseMs();
        nTotalMs += nPause;
        if (i < 4) {
            vecFirst.push_back(nPause);
        }
        int nId = -1;
        ASSERT_TRUE(pacer.Take(nId));
        EXPECT_EQ(41, nId);
        EXPECT_TRUE(pacer.Queue(41));
    }
    EXPECT_EQ((std::vector<UINT>{250, 500, 1000, 1000}), vecFirst);
    EXPECT_EQ(39750u, nTotalMs);
    pacer.OnProgress();
    EXPECT_EQ(250u, pacer.NextPauseMs());

    CRelaunchPacer segments;
    EXPECT_TRUE(segments.Queue(7));
    EXPECT_FALSE(segments.Queue(3)) << "the timer runs already";
    int nFirst = -1, nSecond = -1, nNone = -1;
    EXPECT_TRUE(segments.Take(nFirst) && segments.Take(nSecond));
    EXPECT_EQ(7, nFirst);
    EXPECT_EQ(3, nSecond);
    EXPECT_FALSE(segments.Take(nNone));
    segments.Queue(5);
    segments.Reset();
    EXPECT_TRUE(segments.Empty());
    EXPECT_EQ(250u, segments.NextPauseMs());
}
