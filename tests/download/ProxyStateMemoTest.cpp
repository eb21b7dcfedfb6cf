// One proxy detection serving the requests around it.

#include <windows.h>

#include <gtest/gtest.h>

#include "ProxyStateMemo.h"

TEST(ProxyStateMemo, OneDetectionServesTheRequestsOfTheNextTwoSeconds) {
    CProxyStateMemo memo;
    bool bProxy = true;
    EXPECT_FALSE(memo.Lookup(5000, bProxy));  // nothing detected yet
    memo.Remember(5000, false);
    ASSERT_TRUE(memo.Lookup(5000, bProxy));
    EXPECT_FALSE(bProxy);  // "no proxy" is an answer too, not "unknown"
    ASSERT_TRUE(memo.Lookup(6999, bProxy));
    EXPECT_FALSE(memo.Lookup(7000, bProxy));  // stale: detect again
    EXPECT_FALSE(memo.Lookup(4000, bProxy));  // a clock behind the moment
    memo.Remember(9000, true);
    ASSERT_TRUE(memo.Lookup(9001, bProxy));
    EXPECT_TRUE(bProxy);
}

TEST(ProxyStateMemo, TheTickCountWrapping) {
    CProxyStateMemo memo;
    bool bProxy = false;
    memo.Remember(0xFFFFFF00, true);  // 49.7 days after boot
    ASSERT_TRUE(memo.Lookup(0x100, bProxy));
    EXPECT_TRUE(bProxy);
    EXPECT_FALSE(memo.Lookup(0x100 + CProxyStateMemo::kLifetimeMs, bProxy));
}
