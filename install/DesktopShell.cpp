#include "DesktopShell.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cwchar>

#include "ComPointer.h"
#include "DebugTrace.h"

namespace {

// A string argument of an automation call; freed with it.
class CStringVariant {
public:
    explicit CStringVariant(const std::wstring& str) {
        VariantInit(&m_variant);
        m_variant.vt = VT_BSTR;
        m_variant.bstrVal = SysAllocStringLen(str.data(), static_cast<UINT>(str.size()));
    }
    ~CStringVariant() { VariantClear(&m_variant); }
    CStringVariant(const CStringVariant&) = delete;
    CStringVariant& operator=(const CStringVariant&) = delete;

    const VARIANT& Get() const { return m_variant; }
    bool IsValid() const { return m_variant.bstrVal != nullptr; }

private:
    VARIANT m_variant;
};

// The shell view of the desktop window, from Explorer's window list.
HRESULT DesktopShellView(CComPointer<IShellView>& view) {
    CComPointer<IShellWindows> windows;
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, windows.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT location;
    VariantInit(&location);
    VARIANT root;
    VariantInit(&root);
    long nWindow = 0;
    CComPointer<IDispatch> desktop;
    hr = windows->FindWindowSW(&location, &root, SWC_DESKTOP, &nWindow, SWFO_NEEDDISPATCH,
                               desktop.Receive());
    if (hr != S_OK || !desktop) {
        return FAILED(hr) ? hr : E_NOINTERFACE;  // S_FALSE: no desktop window
    }
    CComPointer<IServiceProvider> services;
    hr = desktop->QueryInterface(IID_IServiceProvider, services.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    CComPointer<IShellBrowser> browser;
    hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    return browser->QueryActiveShellView(view.Receive());
}

// The steps of OpenWithDesktopShell, each a COM call.
HRESULT ShellExecuteOnDesktop(const std::wstring& strFile, const std::wstring& strArguments,
                              const std::wstring& strFolder) {
    CComPointer<IShellView> view;
    HRESULT hr = DesktopShellView(view);
    if (FAILED(hr)) {
        return hr;
    }
    CComPointer<IDispatch> background;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    CComPointer<IShellFolderViewDual> folderView;
    hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    CComPointer<IDispatch> application;
    hr = folderView->get_Application(application.Receive());
    if (FAILED(hr)) {
        return hr;
    }
    CComPointer<IShellDispatch2> shell;
    hr = application->QueryInterface(IID_IShellDispatch2, shell.ReceiveVoid());
    if (FAILED(hr)) {
        return hr;
    }
    BSTR bstrFile = SysAllocStringLen(strFile.data(), static_cast<UINT>(strFile.size()));
    const CStringVariant arguments(strArguments);
    const CStringVariant folder(strFolder);
    const CStringVariant operation(L"open");
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    if (!bstrFile || !arguments.IsValid() || !folder.IsValid() || !operation.IsValid()) {
        SysFreeString(bstrFile);
        return E_OUTOFMEMORY;
    }
    hr = shell->ShellExecute(bstrFile, arguments.Get(), folder.Get(), operation.Get(), show);
    SysFreeString(bstrFile);
    return hr;
}

}  // namespace

bool OpenWithDesktopShell(const std::wstring& strFile, const std::wstring& strArguments,
                          const std::wstring& strFolder, DWORD& dwError) {
    const HRESULT hr = ShellExecuteOnDesktop(strFile, strArguments, strFolder);
    dwError = SUCCEEDED(hr) ? 0 : static_cast<DWORD>(hr);
    return SUCCEEDED(hr);
}

bool OpenAsDesktopUser(const std::wstring& strFile, const std::wstring& strFolder,
                       DesktopShellOpen pfnOpen) {
    DWORD dwError = 0;
    for (int nTry = 1; nTry <= DESKTOP_SHELL_TRIES; ++nTry) {
        if (pfnOpen(strFile, std::wstring(), strFolder, dwError)) {
            return true;
        }
        if (nTry < DESKTOP_SHELL_TRIES) {
            Sleep(DESKTOP_SHELL_PAUSE_MS);
        }
    }
    wchar_t szTrace[96];
    swprintf(szTrace, 96, L"no desktop shell (0x%08lX): nothing started\n\r",
             static_cast<unsigned long>(dwError));
    KORVIX_TRACE(szTrace);
    return false;
}
