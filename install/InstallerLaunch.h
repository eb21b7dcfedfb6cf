#pragma once

// Turns the assembled partial file into the installer, runs it silently into
// the install folder, waits for it, deletes it and tells the dialog.
unsigned __stdcall RunInstallerThread(void* pParam);
