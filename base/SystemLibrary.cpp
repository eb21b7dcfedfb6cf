#include "SystemLibrary.h"

#include <cstring>

#if defined(_MSC_VER)
#include <delayimp.h>
#endif

namespace {

// What the platform's delay-load helper raises when a DLL or one of its
// functions cannot be had (VcppException(ERROR_SEVERITY_ERROR, ...)).
const DWORD kDelayLoadModuleNotFound = 0xC06D007E;
const DWORD kDelayLoadProcNotFound = 0xC06D007F;

HMODULE Kernel32() {
    return GetModuleHandleW(L"kernel32.dll");
}

// Whether LoadLibraryEx knows the LOAD_LIBRARY_SEARCH_* flags: Windows 8 and
// later, and 7 with KB2533623 (the documented test: AddDllDirectory exists).
bool HasSearchFlags() {
    return GetProcAddress(Kernel32(), "AddDllDirectory") != nullptr;
}

// DLLs that the system's own DLLs load late, by name, when first needed
// (delay loads inside gdiplus, wintrust, wininet, winhttp and uxtheme; measured under
// Wine, whose loader resolves such loads through the program's folder
// whatever the process asked for). Loaded from System32 first, they are in
// the process when those names are looked for.
const char* const kLoadedLateBySystemDlls[] = {"windowscodecs.dll", "imagehlp.dll", "iphlpapi.dll",
                                               "msimg32.dll", "secur32.dll"};

}  // namespace

void RestrictDllSearchToSystem32() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    FARPROC pProc = GetProcAddress(Kernel32(), "SetDefaultDllDirectories");
    if (pProc) {
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(pProc))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Where that call is missing (Windows 7 without KB2533623), the current
    // folder at least leaves the search.
    SetDllDirectoryW(L"");
    for (const char* pszName : kLoadedLateBySystemDlls) {
        LoadSystemLibrary(pszName);  // kept for the process's life
    }
}

HMODULE LoadSystemLibrary(const char* pszName) {
    if (HasSearchFlags()) {
        // System32 only, for the DLL and what it imports; the manifest's
        // redirection (comctl32 v6) still comes first.
        return LoadLibraryExA(pszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (_stricmp(pszName, "comctl32.dll") == 0) {
        // Only a bare name reaches the v6 assembly of the manifest, which the
        // activation context resolves before any folder is searched.
        return LoadLibraryA(pszName);
    }
    char szPath[MAX_PATH];
    const UINT nFolder = GetSystemDirectoryA(szPath, MAX_PATH);
    const size_t nName = strlen(pszName);
    if (nFolder == 0 || nFolder + 1 + nName >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    szPath[nFolder] = '\\';
    memcpy(szPath + nFolder + 1, pszName, nName + 1);
    // By its full path; what it imports is looked for in its own folder first.
    return LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

extern "C" FARPROC KorvixResolveDelayImport(DelayLoadedDll* pDll, FARPROC* pSlot,
                                            const char* pszFunction) {
    const DWORD dwCallerError = GetLastError();
    HMODULE hModule = static_cast<HMODULE>(InterlockedCompareExchangePointer(
        reinterpret_cast<void* volatile*>(&pDll->hModule), nullptr, nullptr));
    if (!hModule) {
        // Two threads may both load it: the loader counts both, and either
        // handle is the same module.
        hModule = LoadSystemLibrary(pDll->pszName);
        if (!hModule) {
            RaiseException(kDelayLoadModuleNotFound, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        }
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&pDll->hModule), hModule);
    }
    FARPROC pFunction = GetProcAddress(hModule, pszFunction);
    if (!pFunction) {
        RaiseException(kDelayLoadProcNotFound, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(pSlot),
                               reinterpret_cast<void*>(pFunction));
    SetLastError(dwCallerError);
    return pFunction;
}

#if defined(_MSC_VER)
namespace {

// The platform helper asks before it loads a DLL; a DLL that System32 does
// not have is not looked for anywhere else.
FARPROC WINAPI LoadDelayedFromSystem32(unsigned dliNotify, PDelayLoadInfo pInfo) {
    if (dliNotify != dliNotePreLoadLibrary) {
        return nullptr;
    }
    HMODULE hModule = LoadSystemLibrary(pInfo->szDll);
    if (!hModule) {
        RaiseException(kDelayLoadModuleNotFound, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    return reinterpret_cast<FARPROC>(hModule);
}

}  // namespace

extern "C" const PfnDliHook __pfnDliNotifyHook2 = LoadDelayedFromSystem32;
#endif
