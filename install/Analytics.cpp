#include "Analytics.h"

#include <windows.h>
#include <objbase.h>

#include "AnalyticsAccount.h"
#include "AnalyticsEvent.h"
#include "AnalyticsQueue.h"
#include "UniqueHandle.h"

namespace {

const wchar_t kParentKey[] = L"SOFTWARE\\WOW6432Node\\Velmora";
const wchar_t kClientKey[] = L"SOFTWARE\\WOW6432Node\\Velmora\\VelmoraDown";
const wchar_t kStartLiteral[] = L" (Windows version)&ea=Downloader_Start_Install";
const wchar_t kInstalledLiteral[] = L" (Windows version)&ea=Downloader_Installed";

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

void LoadClientId() {
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

void ReportStartInstall(const std::wstring& strProjectName) {
    LoadClientId();
    SendAnalyticsEvent(strProjectName, kStartLiteral);
}

void ReportInstalled(const std::wstring& strProjectName) {
    SendAnalyticsEvent(strProjectName, kInstalledLiteral);
}

// Queued for the analytics thread: the window goes on at once.
void SendAnalyticsEvent(const std::wstring& strProjectName, const wchar_t* pszEventLiteral) {
    AnalyticsQueue().Post(BuildEventUrl(kAnalyticsEndpoint, g_strTrackingId, g_strClientId,
                                        strProjectName, pszEventLiteral));
}
