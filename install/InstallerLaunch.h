#pragma once

#include <string>

#include "DownloadFolder.h"

// What the installer thread works on, fixed before it starts; the thread
// owns the record and deletes it.
struct InstallerJob {
    const CDownloadFolder* pFolder = nullptr;  // held by the dialog until the thread reports
    std::wstring strPartialName;               // the assembled file's name in it
    FileIdentity written;                      // the file the writes made
    std::wstring strInstallerName;             // its name once moved
    std::wstring strInstallPath;               // where the child installs
};

// Turns the assembled partial file into the installer, checks that it is the
// publisher's, runs it silently into the install folder, waits for it,
// deletes it and tells the dialog. pParam: an InstallerJob made with new.
unsigned __stdcall RunInstallerThread(void* pParam);
