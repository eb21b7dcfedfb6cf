#pragma once

#include <windows.h>

#include <string>

// The client id text of a GUID: "%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X"
// (36 characters; the third group in lower case).
std::string FormatClientId(const GUID& guid);

// The event address: endpoint, property id, "&cid=", client id, "&ec=",
// project name, the event's literal (" (Windows version)&ea=<action>"),
// "&el=", client id. Nothing is percent-encoded.
std::wstring BuildEventUrl(const std::wstring& strEndpoint, const std::wstring& strTrackingId,
                           const std::wstring& strClientId, const std::wstring& strProjectName,
                           const std::wstring& strEventLiteral);

// Drops the 8-character scheme and splits at the first "/": host and object.
void SplitEventUrl(const std::wstring& strUrl, std::wstring& strHost, std::wstring& strObject);
