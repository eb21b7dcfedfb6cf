#pragma once

#include <string>

// The two events of an installation, queued for the analytics thread under
// the product's name (the event category): the window never waits for them.

// The client id: read from the registry, or made and stored there.
void LoadClientId();
// Install was pressed with the box ticked: loads the id, then the event.
void ReportStartInstall(const std::wstring& strProjectName);
// The installer ended well.
void ReportInstalled(const std::wstring& strProjectName);
void SendAnalyticsEvent(const std::wstring& strProjectName, const wchar_t* pszEventLiteral);
