// msaa_probe [ID]: what a screen reader learns of the installer's window
// through MSAA (AccessibleObjectFromWindow), as another process asks it. Finds
// the program's window by the property it marks itself with, and prints one
// line per visible control (or the control with dialog id ID):
//   id=<id> class=<class> role=<role> state=<hex> name=<name> value=<value>
// Texts are UTF-8. Exit code 1 when no window or no control is found.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t kMainWindowProp[] = L"Velmora.Korvix.Setup.MainWindow";

std::string Utf8(const std::wstring& str) {
    int n = WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) {
        WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, &out[0], n, nullptr, nullptr);
    }
    return out;
}

BOOL CALLBACK FindMain(HWND hWnd, LPARAM lParam) {
    if (IsWindowVisible(hWnd) && GetPropW(hWnd, kMainWindowProp) != nullptr) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam) {
    if (IsWindowVisible(hWnd)) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    }
    return TRUE;
}

std::wstring RoleName(long nRole) {
    wchar_t szRole[64] = {};
    GetRoleTextW(static_cast<DWORD>(nRole), szRole, 64);
    return szRole;
}

void Describe(HWND hWnd) {
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    IAccessible* pAcc = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(&pAcc));
    if (FAILED(hr) || !pAcc) {
        printf("id=%d class=%s error=0x%08lx\n", GetDlgCtrlID(hWnd), Utf8(szClass).c_str(),
               static_cast<unsigned long>(hr));
        return;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR bstrName = nullptr;
    BSTR bstrValue = nullptr;
    VARIANT role;
    VARIANT state;
    VariantInit(&role);
    VariantInit(&state);
    pAcc->get_accName(self, &bstrName);
    pAcc->get_accValue(self, &bstrValue);
    pAcc->get_accRole(self, &role);
    pAcc->get_accState(self, &state);
    printf("id=%d class=%s role=%s state=0x%lx name=%s value=%s\n", GetDlgCtrlID(hWnd),
           Utf8(szClass).c_str(), Utf8(role.vt == VT_I4 ? RoleName(role.lVal) : L"?").c_str(),
           static_cast<unsigned long>(state.vt == VT_I4 ? state.lVal : 0),
           Utf8(bstrName ? bstrName : L"").c_str(), Utf8(bstrValue ? bstrValue : L"").c_str());
    SysFreeString(bstrName);
    SysFreeString(bstrValue);
    pAcc->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND hMain = nullptr;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&hMain));
    if (!hMain) {
        printf("no window of the program\n");
        return 1;
    }
    wchar_t szTitle[256] = {};
    GetWindowTextW(hMain, szTitle, 256);
    printf("window title=%s\n", Utf8(szTitle).c_str());
    std::vector<HWND> vecChildren;
    EnumChildWindows(hMain, CollectChild, reinterpret_cast<LPARAM>(&vecChildren));
    int nShown = 0;
    for (HWND hChild : vecChildren) {
        if (argc > 1 && GetDlgCtrlID(hChild) != _wtoi(argv[1])) {
            continue;
        }
        Describe(hChild);
        ++nShown;
    }
    HWND hFocus = nullptr;
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hMain, nullptr), &gui)) {
        hFocus = gui.hwndFocus;
    }
    printf("focus id=%d\n", hFocus ? GetDlgCtrlID(hFocus) : 0);
    CoUninitialize();
    return nShown > 0 ? 0 : 1;
}
