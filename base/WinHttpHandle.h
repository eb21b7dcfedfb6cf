#pragma once

#include <windows.h>
#include <winhttp.h>

#include "UniqueHandle.h"

// WinHTTP's session, connection and request handles (kept apart from
// WinINet's: their headers do not go together in one file).
struct WinHttpHandleTraits {
    using Handle = HINTERNET;
    static Handle None() { return nullptr; }
    static void Close(Handle hHandle) { WinHttpCloseHandle(hHandle); }
};
using CWinHttpHandle = CUniqueHandle<WinHttpHandleTraits>;
