#include "AnalyticsEvent.h"

#include <cstdio>

std::string FormatClientId(const GUID& guid) {
    char szId[64] = {};
    snprintf(szId, sizeof(szId), "%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X",
             static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
             guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
             guid.Data4[6], guid.Data4[7]);
    return szId;
}

std::wstring BuildEventUrl(const std::wstring& strEndpoint, const std::wstring& strTrackingId,
                           const std::wstring& strClientId, const std::wstring& strProjectName,
                           const std::wstring& strEventLiteral) {
    return strEndpoint + strTrackingId + L"&cid=" + strClientId + L"&ec=" + strProjectName +
           strEventLiteral + L"&el=" + strClientId;
}

void SplitEventUrl(const std::wstring& strUrl, std::wstring& strHost, std::wstring& strObject) {
    std::wstring strRest = strUrl.size() > 8 ? strUrl.substr(8) : std::wstring();
    size_t nSlash = strRest.find(L'/');
    strHost = strRest.substr(0, nSlash);
    strObject = nSlash == std::wstring::npos ? std::wstring() : strRest.substr(nSlash + 1);
}
