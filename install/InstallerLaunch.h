#pragma once

// Turns the assembled partial file into the installer, checks that it is the
// publisher's, runs it silently into the install folder, waits for it,
// deletes it and reports to the job's window. pParam: an InstallerJob made
// with new, which the thread owns.
unsigned __stdcall RunInstallerThread(void* pParam);
