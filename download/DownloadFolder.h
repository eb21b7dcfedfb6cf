#pragma once

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

// Which file a handle holds: its volume and its id there.
struct FileIdentity {
    DWORD dwVolume = 0;
    DWORD nIndexHigh = 0;
    DWORD nIndexLow = 0;
    bool operator==(const FileIdentity& other) const {
        return dwVolume == other.dwVolume && nIndexHigh == other.nIndexHigh &&
               nIndexLow == other.nIndexLow;
    }
};
// The download folder, held for the whole run. What lands in it runs with
// administrator rights, and it lies under a documents folder that every user
// writes to: it must be a folder no one else can change, and it must stay
// that folder while the program works. So it is opened once, without
// following a link, judged through that handle and kept open without delete
// sharing (it cannot be renamed or replaced); every file the program makes,
// moves or deletes in it is opened relative to the handle, never through a
// link. Files the program did not make are never touched.
class CDownloadFolder {
public:
    CDownloadFolder() = default;
    CDownloadFolder(const CDownloadFolder&) = delete;
    CDownloadFolder& operator=(const CDownloadFolder&) = delete;

    // Opens strParent\strName: a folder this call makes has the private
    // descriptor from its first moment; one that was there is used only when
    // it is private (IsPrivateDescriptor) and no link. Otherwise a fresh
    // private folder with a unique name is made beside it (strName-xxxxxxxx),
    // which Release() removes, so that someone else's folder never stops an
    // installation. False with the error when no private folder can be had.
    bool Open(const std::wstring& strParent, const std::wstring& strName, DWORD& dwError);
    bool IsOpen() const { return m_hFolder.IsValid(); }
    // Held for adding, listing and removing files in it; no DELETE access of
    // its own, so that a child can work in it (a working folder is opened
    // without delete sharing).
    HANDLE Handle() const { return m_hFolder.Get(); }
    // The path it was opened at: the child's program path and working folder.
    const std::wstring& Path() const { return m_strPath; }
    // Made for this run beside a folder that is not private.
    bool IsFresh() const { return m_bFresh; }
    // Closes the folder; a fresh one is removed first, when it is empty.
    void Release();

    // The file strName in the folder, opened or made relative to the handle
    // without following a link (FILE_OPEN, FILE_CREATE, ...: the NT
    // dispositions), for synchronous use. None with the error on failure.
    CFileHandle OpenFile(const std::wstring& strName, ACCESS_MASK access, ULONG nShare,
                         ULONG nDisposition, DWORD& dwError) const;
    // Removes an old file of the program's own name strName, if there: a
    // link is removed itself, a folder is left alone (an error). True when
    // nothing of that name is left.
    bool DeleteOwnFile(const std::wstring& strName, DWORD& dwError) const;
    // Removes the file strName when it is still the file of that identity.
    bool DeleteFileOf(const std::wstring& strName, const FileIdentity& identity) const;
    // Renames the file held by hFile (opened with DELETE) to strName in this
    // folder; an existing file of that name is never replaced.
    bool MoveInto(HANDLE hFile, const std::wstring& strName, DWORD& dwError) const;

private:
    bool OpenChild(const std::wstring& strName, ULONG nDisposition, bool& bCreated, DWORD& dwError);

    CFileHandle m_hParent;  // the documents folder, for the fresh folder's removal
    CFileHandle m_hFolder;
    std::wstring m_strName;  // its name there
    FileIdentity m_identity;
    std::wstring m_strPath;
    bool m_bFresh = false;
};

// The identity of the file hFile holds (opened with FILE_READ_ATTRIBUTES).
bool ReadFileIdentity(HANDLE hFile, FileIdentity& identity);

// Whether strPath, opened now without following a link, names the very file
// that hFile holds.
bool PathNamesFile(const std::wstring& strPath, HANDLE hFile);

// Marks the file that hFile holds (opened with DELETE) for deletion when its
// last handle closes: the file itself, whatever its name now is.
bool DeleteHeldFile(HANDLE hFile);

// Replaces file (opened for reading, perhaps writing, with DELETE, shared
// for reading only) by a handle of the same file for reading only, shared for
// reading only:
// others may read it, as a program reads its own file, and no one may change,
// rename or delete it. Through the handles, never the name.
bool HoldForReadingOnly(CFileHandle& file, DWORD& dwError);
