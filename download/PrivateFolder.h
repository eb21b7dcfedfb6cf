#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The download folder holds an executable that is about to run with
// administrator rights, under a documents folder every user may write to: no
// other user may control it. It is created with write access for
// Administrators and SYSTEM only (users may read), and its files inherit that.

// The descriptor the folder is created with, in SDDL: owner Administrators;
// a protected list (nothing inherited from the documents folder) with full
// control for SYSTEM and Administrators and read and execute for Users,
// inherited by what is created below.
extern const wchar_t kPrivateFolderSddl[];

// Owned by Administrators or SYSTEM, and a list that lets no one else write,
// delete or change anything (no list at all lets everyone in).
bool IsPrivateDescriptor(PSECURITY_DESCRIPTOR pDescriptor);

// Whether the folder at strFolder is such a folder: a real folder (no
// junction or link), owned by Administrators or SYSTEM, whose access list
// lets no one else write, delete or change it.
bool IsPrivateFolder(const std::wstring& strFolder);

// Makes strFolder a private folder. One that exists but is not private is
// removed first: a link itself (never what it points to), a folder with the
// files named in vecOwnFiles (this program's own) and links in it; anything
// else in it is someone's data and stays, and the folder with it. False with
// the error when the folder cannot be made private.
bool MakePrivateFolder(const std::wstring& strFolder, const std::vector<std::wstring>& vecOwnFiles,
                       DWORD& dwError);
