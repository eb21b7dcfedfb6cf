#pragma once

// Debug trace lines go to the debugger output only; the user never sees them.
// Each carries the source file and line, like "WinMain.cpp(42): close()!".
void DebugTraceLine(const char* pszFile, int nLine, const wchar_t* pszText);

#define KORVIX_TRACE(text) DebugTraceLine(__FILE__, __LINE__, text)

// The wall clock in milliseconds since 1970, for trace lines that a bench
// lines up with the clocks of other processes.
unsigned long long UnixTimeMs();
