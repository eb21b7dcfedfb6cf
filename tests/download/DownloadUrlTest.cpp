// The download address split into host, path and file names.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "DownloadUrl.h"

TEST(DownloadUrl, SplitsHostAndPathWithoutTheLeadingSlash) {
    std::wstring strHost = L"old";
    std::wstring strObject = L"old";
    ASSERT_TRUE(SplitDownloadUrl(L"https://h/d/f.exe", strHost, strObject));
    EXPECT_EQ(L"h", strHost);
    EXPECT_EQ(L"d/f.exe", strObject);
    ASSERT_TRUE(SplitDownloadUrl(L"http://download.example:8080/a/b.exe?x=1", strHost, strObject));
    EXPECT_EQ(L"download.example:8080", strHost);  // a port is not separated
    EXPECT_EQ(L"a/b.exe?x=1", strObject);
}

TEST(DownloadUrl, RefusesAnAddressWithoutPathOrScheme) {
    std::wstring strHost = L"kept";
    std::wstring strObject = L"kept";
    EXPECT_FALSE(SplitDownloadUrl(L"https://localhost", strHost, strObject));
    EXPECT_FALSE(SplitDownloadUrl(L"ftp://host/file.exe", strHost, strObject));
    EXPECT_FALSE(SplitDownloadUrl(L"", strHost, strObject));
    EXPECT_EQ(L"kept", strHost);
    EXPECT_EQ(L"kept", strObject);
}

TEST(DownloadUrl, BaseAndFileNames) {
    std::wstring strBase;
    ASSERT_TRUE(DownloadBaseName(L"https://h/korvix/setup.exe", strBase));
    EXPECT_EQ(L"setup.", strBase);
    EXPECT_EQ(L"setup.exe", DownloadFileName(L"https://h/korvix/setup.exe"));
    // The query stays part of the name: the move of such a file then fails.
    EXPECT_EQ(L"setup.exe?x=1", DownloadFileName(L"https://h/setup.exe?x=1"));
    // A dot only in the host or in a folder gives no name.
    EXPECT_FALSE(DownloadBaseName(L"https://download.example/download/setup", strBase));
    EXPECT_FALSE(DownloadBaseName(L"https://h/k.d/setup", strBase));
    EXPECT_FALSE(DownloadBaseName(L"setup.exe", strBase));
}
