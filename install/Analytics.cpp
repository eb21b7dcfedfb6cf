#include <windows.h>
#include <objbase.h>

#include "AnalyticsAccount.h"
#include "AnalyticsEvent.h"
#include "LanguagePacks.h"
#include "MainDlg.h"
#include "UniqueHandle.h"
#include "WinHttpHandle.h"

namespace {

const wchar_t kParentKey[] = L"SOFTWARE\\WOW6432Node\\Velmora";
const wchar_t kClientKey[] = L"SOFTWARE\\WOW6432Node\\Velmora\\VelmoraDown";
const wchar_t kStartLiteral[] = L" (Windows version)&ea=Downloader_Start_Install";
const wchar_t kInstalledLiteral[] = L" (Windows version)&ea=Downloader_Installed";
const int kEventResolveMs = 600;
const int kEventConnectMs = 600;
const int kEventSendMs = 400;
const int kEventReceiveMs = 400;
const DWORD kEventResponseMs = 400;

std::wstring Widen(const char* psz) {
    std::wstring str;
    for (; *psz; ++psz) {
        str.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*psz)));
    }
    return str;
}

// The stored id, or false when it cannot be read (a new one is then made).
bool ReadStoredClientId(std::wstring& strId) {
    CRegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClientKey, 0, KEY_READ | KEY_WOW64_64KEY,
                      key.Receive()) != ERROR_SUCCESS) {
        return false;
    }
    // One element more than the size passed: a value that fills the buffer
    // without its own terminator still ends here.
    wchar_t szId[1025] = {};
    DWORD cbId = 1024 * sizeof(wchar_t);
    if (RegQueryValueExW(key.Get(), L"GUID", nullptr, nullptr, reinterpret_cast<BYTE*>(szId),
                         &cbId) != ERROR_SUCCESS) {
        return false;
    }
    strId = szId;
    return true;
}

}  // namespace

const std::wstring g_strTrackingId = Widen(kAnalyticsProperty);
std::wstring g_strClientId;

void CMainDlg::LoadClientId() {
    {
        CRegistryKey parent;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kParentKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        parent.Receive(), nullptr);
    }
    CRegistryKey key;
    DWORD dwDisposition = 0;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kClientKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                    key.Receive(), &dwDisposition);
    bool bNewId = false;
    if (dwDisposition == REG_OPENED_EXISTING_KEY) {
        std::wstring strStored;
        if (ReadStoredClientId(strStored)) {
            g_strClientId = strStored;
        } else {
            bNewId = true;
        }
    } else if (dwDisposition == REG_CREATED_NEW_KEY) {
        bNewId = true;
    }
    if (bNewId && key) {
        GUID guid = {};
        CoCreateGuid(&guid);
        g_strClientId = Widen(FormatClientId(guid).c_str());
        RegSetValueExW(key.Get(), L"GUID", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(g_strClientId.c_str()),
                       static_cast<DWORD>((g_strClientId.size() + 1) * sizeof(wchar_t)));
    }
}

void CMainDlg::ReportStartInstall() {
    LoadClientId();
    SendAnalyticsEvent(kStartLiteral);
}

void CMainDlg::ReportInstalled() {
    SendAnalyticsEvent(kInstalledLiteral);
}

// Fire and forget: one HEAD on port 80, the answer never awaited, every
// failure silent, the whole of it bounded by the time-outs above.
void CMainDlg::SendAnalyticsEvent(LPCWSTR pszEventLiteral) {
    std::wstring strUrl = BuildEventUrl(kAnalyticsEndpoint, g_strTrackingId, g_strClientId,
                                        GetLanStr(L"STR_PROJECT_NAME"), pszEventLiteral);
    std::wstring strHost;
    std::wstring strObject;
    SplitEventUrl(strUrl, strHost, strObject);

    // Closed in reverse order: request, connection, root.
    CWinHttpHandle root(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
    if (!root) {
        return;
    }
    // The dialog thread waits for the event: a collector that is slow, or
    // takes the connection and never answers, may hold it about two seconds
    // in all, never longer.
    WinHttpSetTimeouts(root.Get(), kEventResolveMs, kEventConnectMs, kEventSendMs, kEventReceiveMs);
    CWinHttpHandle connect(
        WinHttpConnect(root.Get(), strHost.c_str(), INTERNET_DEFAULT_HTTP_PORT, 0));
    if (!connect) {
        return;
    }
    LPCWSTR rgpszAcceptTypes[] = {L"*/*", nullptr};
    CWinHttpHandle request(WinHttpOpenRequest(connect.Get(), L"HEAD", strObject.c_str(),
                                              L"HTTP/1.1", WINHTTP_NO_REFERER, rgpszAcceptTypes,
                                              WINHTTP_FLAG_BYPASS_PROXY_CACHE));
    if (!request) {
        return;
    }
    // Wine's synchronous send also waits for the answer's headers: measured,
    // without this a collector that never answers held the window for good.
    DWORD dwResponse = kEventResponseMs;
    WinHttpSetOption(request.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &dwResponse,
                     sizeof(dwResponse));
    WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                       0, 0);
}
