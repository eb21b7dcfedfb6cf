// The analytics event's client id and address.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "AnalyticsEvent.h"

TEST(AnalyticsEvent, ClientIdTextHasALowerCaseThirdGroup) {
    const GUID guid = {
        0x0A1B2C3D, 0xABCD, 0xEF12, {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 0x18}};
    std::string strId = FormatClientId(guid);
    EXPECT_EQ("0A1B2C3D-ABCD-ef12-A1B2-C3D4E5F60718", strId);
    EXPECT_EQ(36u, strId.size());
}

TEST(AnalyticsEvent, UrlOfNinePiecesAndItsSplit) {
    std::wstring strUrl =
        BuildEventUrl(L"https://collect.example/collect?v=1&t=event&tid=", L"UA-40925113-07", L"ID",
                      L"Velmora Korvix", L" (Windows version)&ea=Downloader_Installed");
    EXPECT_EQ(
        L"https://collect.example/collect?v=1&t=event&tid=UA-40925113-07&cid=ID"
        L"&ec=Velmora Korvix (Windows version)&ea=Downloader_Installed&el=ID",
        strUrl);
    std::wstring strHost;
    std::wstring strObject;
    SplitEventUrl(strUrl, strHost, strObject);
    EXPECT_EQ(L"collect.example", strHost);
    EXPECT_EQ(0u, strObject.find(L"collect?v=1&t=event&tid=UA-40925113-07&cid=ID&ec="));
}
