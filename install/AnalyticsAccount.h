#pragma once

// The analytics account of the build: "https://<host>/collect?v=1&t=event&tid="
// and the property id "UA-########-##". Each program links its own
// definition (generated from install/AnalyticsAccount.cpp.in), so test builds
// report to a local collector.
extern const wchar_t kAnalyticsEndpoint[];
extern const char kAnalyticsProperty[];
