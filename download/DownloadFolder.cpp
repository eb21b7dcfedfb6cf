#include "DownloadFolder.h"

#include <winternl.h>
#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>

#include <cwchar>

#include "DebugTrace.h"
#include "PrivateFolder.h"

namespace {

// A fresh folder's name is tried this many times: someone who made the
// names first wins no round, and after these the local failure.
const int kFreshTries = 8;

// What the folder's handle may do: list and add files and read its
// descriptor. No DELETE: a process's working folder is opened without delete
// sharing, and the child works in this one.
const ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;

// NtSetInformationFile's FileRenameInformation request (not in every SDK's
// winternl.h): the new name, relative to RootDirectory.
const int kFileRenameInformation = 10;
struct RenameRequest {
    BOOLEAN bReplaceIfExists;
    HANDLE hRootDirectory;
    ULONG nFileNameLength;
    WCHAR szFileName[MAX_PATH];
};

// A name of this folder, not a path: no separator, no stream, not "..".
bool IsPlainName(const std::wstring& strName) {
    return !strName.empty() && strName.size() < MAX_PATH &&
           strName.find_first_of(L"\\/:") == std::wstring::npos && strName != L"." &&
           strName != L"..";
}

// NtCreateFile relative to hRoot, never following a link (a link is opened
// itself), for synchronous use. The error is a Win32 one.
HANDLE CreateRelative(HANDLE hRoot, const std::wstring& strName, ACCESS_MASK access, ULONG nShare,
                      ULONG nDisposition, ULONG nOptions, PSECURITY_DESCRIPTOR pDescriptor,
                      ULONG_PTR& nInformation, DWORD& dwError) {
    if (!IsPlainName(strName)) {
        dwError = ERROR_INVALID_NAME;
        return INVALID_HANDLE_VALUE;
    }
    UNICODE_STRING name;
    name.Buffer = const_cast<PWSTR>(strName.c_str());
    name.Length = static_cast<USHORT>(strName.size() * sizeof(wchar_t));
    name.MaximumLength = name.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, hRoot, pDescriptor);
    IO_STATUS_BLOCK status = {};
    HANDLE hFile = nullptr;
    const NTSTATUS nStatus =
        NtCreateFile(&hFile, access | SYNCHRONIZE, &attributes, &status, nullptr,
                     FILE_ATTRIBUTE_NORMAL, nShare, nDisposition,
                     nOptions | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(nStatus)) {
        dwError = RtlNtStatusToDosError(nStatus);
        return INVALID_HANDLE_VALUE;
    }
    nInformation = status.Information;
    dwError = 0;
    return hFile;
}

bool IsPrivateHeldFolder(HANDLE hFolder) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (GetSecurityInfo(hFolder, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        nullptr, nullptr, &pDescriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool bPrivate = IsPrivateDescriptor(pDescriptor);
    LocalFree(pDescriptor);
    return bPrivate;
}

// Eight hex digits nobody can foresee.
std::wstring UniqueSuffix() {
    GUID guid = {};
    CoCreateGuid(&guid);
    wchar_t szSuffix[16];
    swprintf(szSuffix, 16, L"-%08lx", static_cast<unsigned long>(guid.Data1));
    return szSuffix;
}

}  // namespace

bool CDownloadFolder::OpenChild(const std::wstring& strName, ULONG nDisposition, bool& bCreated,
                                DWORD& dwError) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kPrivateFolderSddl, SDDL_REVISION_1,
                                                              &pDescriptor, nullptr)) {
        dwError = GetLastError();
        return false;
    }
    ULONG_PTR nInformation = 0;
    // No delete sharing: while it is held, no one can rename or remove it.
    m_hFolder.Attach(CreateRelative(m_hParent.Get(), strName, kFolderAccess,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nDisposition,
                                    FILE_DIRECTORY_FILE, pDescriptor, nInformation, dwError));
    LocalFree(pDescriptor);
    if (!m_hFolder) {
        return false;
    }
    bCreated = nInformation == FILE_CREATED;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(m_hFolder.Get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReadFileIdentity(m_hFolder.Get(), m_identity)) {
        m_hFolder.Close();  // a junction or mount point, opened as itself
        dwError = ERROR_CANT_ACCESS_FILE;
        return false;
    }
    m_strName = strName;
    return true;
}

bool CDownloadFolder::Open(const std::wstring& strParent, const std::wstring& strName,
                           DWORD& dwError) {
    Release();
    // The all-users documents folder is the system's own.
    m_hParent.Attach(CreateFileW(strParent.c_str(), FILE_TRAVERSE | FILE_ADD_SUBDIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!m_hParent) {
        dwError = GetLastError();
        return false;
    }
    bool bCreated = false;
    if (OpenChild(strName, FILE_OPEN_IF, bCreated, dwError)) {
        if (bCreated || IsPrivateHeldFolder(m_hFolder.Get())) {
            m_strPath = strParent + L"\\" + strName;
            return true;
        }
        m_hFolder.Close();
    }
    // Someone else's folder, a link or a file in its place: left as it is.
    KORVIX_TRACE(L"download folder not private: a fresh one beside it\n\r");
    for (int nTry = 0; nTry < kFreshTries; ++nTry) {
        const std::wstring strFresh = strName + UniqueSuffix();
        if (OpenChild(strFresh, FILE_CREATE, bCreated, dwError)) {
            m_strPath = strParent + L"\\" + strFresh;
            m_bFresh = true;
            return true;
        }
        if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS) {
            break;
        }
    }
    m_hParent.Close();
    return false;
}

void CDownloadFolder::Release() {
    m_hFolder.Close();
    if (m_bFresh) {
        // Opened again as itself and removed when it is still the folder made
        // for this run and empty; anything left in it keeps it.
        ULONG_PTR nInformation = 0;
        DWORD dwError = 0;
        CFileHandle folder(CreateRelative(m_hParent.Get(), m_strName, DELETE | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          FILE_OPEN, FILE_DIRECTORY_FILE, nullptr, nInformation,
                                          dwError));
        FileIdentity identity;
        if (folder && ReadFileIdentity(folder.Get(), identity) && identity == m_identity) {
            DeleteHeldFile(folder.Get());
        }
    }
    m_hParent.Close();
    m_strPath.clear();
    m_strName.clear();
    m_bFresh = false;
}

CFileHandle CDownloadFolder::OpenFile(const std::wstring& strName, ACCESS_MASK access, ULONG nShare,
                                      ULONG nDisposition, DWORD& dwError) const {
    ULONG_PTR nInformation = 0;
    return CFileHandle(CreateRelative(m_hFolder.Get(), strName, access, nShare, nDisposition,
                                      FILE_NON_DIRECTORY_FILE, nullptr, nInformation, dwError));
}

bool CDownloadFolder::DeleteOwnFile(const std::wstring& strName, DWORD& dwError) const {
    CFileHandle file =
        OpenFile(strName, DELETE | FILE_READ_ATTRIBUTES,
                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, dwError);
    if (!file) {
        if (dwError == ERROR_FILE_NOT_FOUND) {
            dwError = 0;
            return true;
        }
        return false;
    }
    if (!DeleteHeldFile(file.Get())) {
        dwError = GetLastError();
        return false;
    }
    return true;
}

bool CDownloadFolder::DeleteFileOf(const std::wstring& strName,
                                   const FileIdentity& identity) const {
    DWORD dwError = 0;
    CFileHandle file =
        OpenFile(strName, DELETE | FILE_READ_ATTRIBUTES,
                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, dwError);
    FileIdentity found;
    return file && ReadFileIdentity(file.Get(), found) && found == identity &&
           DeleteHeldFile(file.Get());
}

bool CDownloadFolder::MoveInto(HANDLE hFile, const std::wstring& strName, DWORD& dwError) const {
    if (!IsPlainName(strName)) {
        dwError = ERROR_INVALID_NAME;
        return false;
    }
    RenameRequest request = {};
    request.bReplaceIfExists = FALSE;
    request.hRootDirectory = m_hFolder.Get();
    request.nFileNameLength = static_cast<ULONG>(strName.size() * sizeof(wchar_t));
    wmemcpy(request.szFileName, strName.c_str(), strName.size());
    IO_STATUS_BLOCK status = {};
    const NTSTATUS nStatus =
        NtSetInformationFile(hFile, &status, &request, sizeof(request),
                             static_cast<FILE_INFORMATION_CLASS>(kFileRenameInformation));
    dwError = NT_SUCCESS(nStatus) ? 0 : RtlNtStatusToDosError(nStatus);
    return NT_SUCCESS(nStatus);
}

bool ReadFileIdentity(HANDLE hFile, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(hFile, &info)) {
        return false;
    }
    identity.dwVolume = info.dwVolumeSerialNumber;
    identity.nIndexHigh = info.nFileIndexHigh;
    identity.nIndexLow = info.nFileIndexLow;
    return true;
}

bool PathNamesFile(const std::wstring& strPath, HANDLE hFile) {
    CFileHandle named(
        CreateFileW(strPath.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    FileIdentity namedIdentity;
    FileIdentity heldIdentity;
    return named && GetFileInformationByHandle(named.Get(), &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           ReadFileIdentity(named.Get(), namedIdentity) && ReadFileIdentity(hFile, heldIdentity) &&
           namedIdentity == heldIdentity;
}

bool DeleteHeldFile(HANDLE hFile) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(hFile, FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != FALSE;
}

bool HoldForReadingOnly(CFileHandle& file, DWORD& dwError) {
    const DWORD dwAccess = GENERIC_READ | FILE_READ_ATTRIBUTES;
    // Two steps: while the writing handle is open, a new one must share what
    // it may do.
    CFileHandle bridge(ReOpenFile(file.Get(), dwAccess,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0));
    if (!bridge) {
        dwError = GetLastError();
        return false;
    }
    file.Close();
    file.Attach(ReOpenFile(bridge.Get(), dwAccess, FILE_SHARE_READ, 0));
    dwError = file ? 0 : GetLastError();
    return file.IsValid();
}
