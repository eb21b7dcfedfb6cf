#pragma once

#include <windows.h>

// The download folder holds an executable that is about to run with
// administrator rights, under a documents folder every user may write to: no
// other user may read or control it (CDownloadFolder). It is created with
// access for Administrators and SYSTEM only, and its files inherit that.

// The descriptor the folder is created with, in SDDL: owner Administrators;
// a protected list (nothing inherited from the documents folder) with full
// control for SYSTEM and Administrators only, inherited by what is created
// below.
extern const wchar_t kPrivateFolderSddl[];

// Owned by Administrators or SYSTEM, and a list that lets no one else read,
// run, write, delete or change anything (no list at all lets everyone in).
bool IsPrivateDescriptor(PSECURITY_DESCRIPTOR pDescriptor);
