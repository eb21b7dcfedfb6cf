#pragma once

#include <windows.h>

// The program runs elevated from wherever the user saved it (Downloads), a
// folder that web pages and other programs write to: no DLL may come from
// beside it. Only KERNEL32, msvcrt and ntdll are imported at load time (the
// loader takes them from System32 on every Windows); every other DLL is
// loaded on its first call, from System32 only. In the MinGW build the calls
// go through stubs that tools/delay_imports.py writes, which call
// KorvixResolveDelayImport; an MSVC build delay-loads them (/DELAYLOAD) with
// the same loading in the platform helper's hook.

// The whole process, system DLLs included, finds DLLs in System32 only from
// now on; the DLLs that system DLLs load late by name are loaded from there
// now. The first thing the program does.
void RestrictDllSearchToSystem32();

// A system DLL by its file name, from System32 only; "comctl32.dll" is the
// version 6 assembly that the manifest names. Null with the loader's error.
HMODULE LoadSystemLibrary(const char* pszName);

// A DLL that is loaded on its first call: its file name and, once loaded,
// its handle. Laid out by the generated stubs.
struct DelayLoadedDll {
    const char* pszName;
    HMODULE hModule;
};

// Called by a stub on the first call of pszFunction: loads the DLL, stores
// the function's address in its slot (later calls go straight to it) and
// returns it. Any thread may call it at any time; the caller's last error is
// kept. A DLL or function that System32 does not have ends the process with
// the platform's delay-load exception: nothing is looked for anywhere else.
extern "C" FARPROC KorvixResolveDelayImport(DelayLoadedDll* pDll, FARPROC* pSlot,
                                            const char* pszFunction);
