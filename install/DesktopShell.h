#pragma once

#include <windows.h>

#include <string>

// The program runs elevated; what it opens for the user (the installed
// product, the licence page, the download address in the browser) must not:
// the desktop's shell starts it, with the desktop user's own token.

// Asks the shell of the desktop (Explorer) to open strFile with strArguments
// in strFolder (none: the shell's own), as the documented road to the user's
// token goes: the desktop window's shell view, its automation object, and
// its ShellExecute. False with the HRESULT of the first step that failed.
bool OpenWithDesktopShell(const std::wstring& strFile, const std::wstring& strArguments,
                          const std::wstring& strFolder, DWORD& dwError);

// How the desktop shell is asked (the tests put one here that fails).
using DesktopShellOpen = bool (*)(const std::wstring& strFile, const std::wstring& strArguments,
                                  const std::wstring& strFolder, DWORD& dwError);

// The desktop shell is asked this many times, DESKTOP_SHELL_PAUSE_MS apart,
// before nothing is started: a busy Explorer refuses a call now and then (on
// a loaded test bench one call failed where the same call had just worked).
const int DESKTOP_SHELL_TRIES = 3;
const DWORD DESKTOP_SHELL_PAUSE_MS = 300;

// Opens strFile ("open", no arguments, shown normally) through the desktop
// shell, in strFolder (empty: the shell's own). Where that road is missing
// (no shell, Explorer restarting, a remote application session) nothing is
// started: this process's token is the administrator's, with over-the-
// shoulder elevation another person's. False then, with a trace line; the
// caller tells the user what to do instead.
bool OpenAsDesktopUser(const std::wstring& strFile, const std::wstring& strFolder,
                       DesktopShellOpen pfnOpen = OpenWithDesktopShell);
