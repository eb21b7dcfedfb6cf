#include "DownloadUrl.h"

bool SplitDownloadUrl(const std::wstring& strUrl, std::wstring& strHost, std::wstring& strObject) {
    std::wstring strRest;
    if (strUrl.find(L"http://") != std::wstring::npos) {
        strRest = strUrl.size() > 7 ? strUrl.substr(7) : std::wstring();
    } else if (strUrl.find(L"https://") != std::wstring::npos) {
        strRest = strUrl.size() > 8 ? strUrl.substr(8) : std::wstring();
    } else {
        // Without a scheme there is no host to ask; such an address is as
        // unusable as one without a path.
        return false;
    }
    size_t nSlash = strRest.find(L'/');
    if (nSlash == std::wstring::npos) {
        return false;
    }
    strObject = strRest.substr(nSlash + 1);
    strHost = strRest.substr(0, nSlash);
    return true;
}

bool DownloadBaseName(const std::wstring& strUrl, std::wstring& strBase) {
    size_t nSlash = strUrl.rfind(L'/');
    size_t nDot = strUrl.rfind(L'.');
    if (nSlash == std::wstring::npos || nDot == std::wstring::npos || nDot < nSlash) {
        return false;
    }
    strBase = strUrl.substr(nSlash + 1, nDot - nSlash);
    return true;
}

bool PartialFileName(const std::wstring& strUrl, std::wstring& strName) {
    std::wstring strBase;
    if (!DownloadBaseName(strUrl, strBase)) {
        return false;
    }
    strName = strBase + L"down";
    return true;
}

std::wstring DownloadFileName(const std::wstring& strUrl) {
    size_t nSlash = strUrl.rfind(L'/');
    return nSlash == std::wstring::npos ? strUrl : strUrl.substr(nSlash + 1);
}
