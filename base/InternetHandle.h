#pragma once

#include <windows.h>
#include <wininet.h>

#include "UniqueHandle.h"

// WinINet's root, connection and request handles.
struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle None() { return nullptr; }
    static void Close(Handle hHandle) { InternetCloseHandle(hHandle); }
};
using CInternetHandle = CUniqueHandle<InternetHandleTraits>;
