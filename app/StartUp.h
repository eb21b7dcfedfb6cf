#pragma once

#include <windows.h>

// Marks this program as handled for the Program Compatibility Assistant:
// a DWORD 1 named by the program's path under the existing Persisted key.
// The key is never created. True when the value was written.
bool SetCompatibilityAssistantFlag();
// Creates the main dialog (template 129) and runs the message loop; the
// loop's result, or 0 when the dialog cannot be created.
int RunMainDialog(LPWSTR pszCmdLine, int nCmdShow);
