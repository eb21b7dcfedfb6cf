// The child installer's command line.

#include <windows.h>

#include <gtest/gtest.h>

#include "InstallerCommandLine.h"

TEST(InstallerCommandLine, SilentSwitchesAndTheQuotedFolder) {
    EXPECT_EQ(L" /verysilent /velmora_down /path=\"C:\\Program Files (x86)\"",
              InstallerCommandLine(L"C:\\Program Files (x86)"));
    EXPECT_EQ(L" /verysilent /velmora_down /path=\"D:\\apps\\\"",
              InstallerCommandLine(L"D:\\apps\\"));
}
