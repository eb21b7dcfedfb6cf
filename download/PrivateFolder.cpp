#include "PrivateFolder.h"

#include <aclapi.h>
#include <sddl.h>

#include "DebugTrace.h"
#include "UniqueHandle.h"

const wchar_t kPrivateFolderSddl[] =
    L"O:BAG:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

namespace {

// Rights that let their holder change what the folder holds or who may.
const ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                 FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

const DWORD kMakeTries = 3;

bool IsAdminsOrSystem(PSID pSid) {
    return pSid && IsValidSid(pSid) &&
           (IsWellKnownSid(pSid, WinBuiltinAdministratorsSid) ||
            IsWellKnownSid(pSid, WinLocalSystemSid));
}

bool IsLink(DWORD dwAttributes) {
    return (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Only Administrators and SYSTEM may write; every entry is one we know.
bool OnlyAdminsMayWrite(const ACL* pDacl) {
    for (DWORD i = 0; i < pDacl->AceCount; ++i) {
        void* pAce = nullptr;
        if (!GetAce(const_cast<ACL*>(pDacl), i, &pAce)) {
            return false;
        }
        const ACE_HEADER* pHeader = static_cast<ACE_HEADER*>(pAce);
        if (pHeader->AceType == ACCESS_DENIED_ACE_TYPE) {
            continue;
        }
        if (pHeader->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            return false;
        }
        const ACCESS_ALLOWED_ACE* pAllowed = static_cast<ACCESS_ALLOWED_ACE*>(pAce);
        PSID pSid = const_cast<DWORD*>(&pAllowed->SidStart);
        if ((pAllowed->Mask & kWriteRights) != 0 && !IsAdminsOrSystem(pSid)) {
            return false;
        }
    }
    return true;
}

bool CreatePrivateFolder(const std::wstring& strFolder, DWORD& dwError) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kPrivateFolderSddl, SDDL_REVISION_1,
                                                              &pDescriptor, nullptr)) {
        dwError = GetLastError();
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), pDescriptor, FALSE};
    const BOOL bCreated = CreateDirectoryW(strFolder.c_str(), &attributes);
    dwError = bCreated ? 0 : GetLastError();
    LocalFree(pDescriptor);
    return bCreated != FALSE;
}

// Deletes a link itself: opened as a link, seen to be one through that
// handle, and deleted through it. Where a link cannot be opened as such (Wine
// opens its target), nothing is deleted.
bool RemoveLink(const std::wstring& strPath) {
    CFileHandle link(
        CreateFileW(strPath.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!link) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    FILE_DISPOSITION_INFO disposition = {TRUE};
    bool bRemoved = false;
    if (!GetFileInformationByHandle(link.Get(), &info) || !IsLink(info.dwFileAttributes)) {
        SetLastError(ERROR_CANT_ACCESS_FILE);
    } else {
        bRemoved = SetFileInformationByHandle(link.Get(), FileDispositionInfo, &disposition,
                                              sizeof(disposition)) != FALSE;
    }
    // The delete happens on close; the caller reads this call's error.
    const DWORD dwError = GetLastError();
    link.Close();
    SetLastError(dwError);
    return bRemoved;
}

// Removes a folder that is not private; see MakePrivateFolder.
bool RemoveForeignFolder(const std::wstring& strFolder,
                         const std::vector<std::wstring>& vecOwnFiles) {
    const DWORD dwAttributes = GetFileAttributesW(strFolder.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;  // gone meanwhile
    }
    if (IsLink(dwAttributes)) {
        return RemoveLink(strFolder);  // never what it points to
    }
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;  // a file of that name is someone's: it stays
    }
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = FindFirstFileW((strFolder + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring strName = found.cFileName;
            const std::wstring strPath = strFolder + L"\\" + strName;
            if (IsLink(found.dwFileAttributes)) {
                RemoveLink(strPath);
            } else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                for (const std::wstring& strOwn : vecOwnFiles) {
                    if (_wcsicmp(strOwn.c_str(), strName.c_str()) == 0) {
                        SetFileAttributesW(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
                        DeleteFileW(strPath.c_str());
                    }
                }
            }
        } while (FindNextFileW(hFind, &found));
        FindClose(hFind);
    }
    return RemoveDirectoryW(strFolder.c_str()) != FALSE;
}

}  // namespace

bool IsPrivateFolder(const std::wstring& strFolder) {
    const DWORD dwAttributes = GetFileAttributesW(strFolder.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        IsLink(dwAttributes)) {
        return false;
    }
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (GetNamedSecurityInfoW(strFolder.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &pDescriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool bPrivate = IsPrivateDescriptor(pDescriptor);
    LocalFree(pDescriptor);
    return bPrivate;
}

bool IsPrivateDescriptor(PSECURITY_DESCRIPTOR pDescriptor) {
    PSID pOwner = nullptr;
    BOOL bOwnerDefaulted = FALSE;
    BOOL bPresent = FALSE;
    PACL pDacl = nullptr;
    BOOL bDaclDefaulted = FALSE;
    if (!GetSecurityDescriptorOwner(pDescriptor, &pOwner, &bOwnerDefaulted) ||
        !GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDaclDefaulted)) {
        return false;
    }
    return IsAdminsOrSystem(pOwner) && bPresent && pDacl && OnlyAdminsMayWrite(pDacl);
}

bool MakePrivateFolder(const std::wstring& strFolder, const std::vector<std::wstring>& vecOwnFiles,
                       DWORD& dwError) {
    // Created here, the folder has our descriptor from its first moment; only
    // one that was there before is looked at. Someone who keeps making it
    // anew wins no round: after a few, the local failure.
    for (DWORD nTry = 0; nTry < kMakeTries; ++nTry) {
        if (CreatePrivateFolder(strFolder, dwError)) {
            return true;
        }
        if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS) {
            return false;
        }
        if (IsPrivateFolder(strFolder)) {
            dwError = 0;
            return true;
        }
        KORVIX_TRACE(L"download folder not private: made anew\n\r");
        if (!RemoveForeignFolder(strFolder, vecOwnFiles)) {
            dwError = GetLastError();
            return false;
        }
    }
    dwError = ERROR_ACCESS_DENIED;
    return false;
}
