#include "PrivateFolder.h"

const wchar_t kPrivateFolderSddl[] = L"O:BAG:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

namespace {

// Rights that let their holder see or change what the folder holds, or who
// may: a reader can hold the partial file open and so stop its move, and
// read what an administrator is about to run. (Reading the attributes, the
// descriptor and waiting on it give nothing.)
const ACCESS_MASK kOthersRights = FILE_READ_DATA | FILE_READ_EA | FILE_EXECUTE | FILE_WRITE_DATA |
                                  FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                  FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER |
                                  GENERIC_READ | GENERIC_EXECUTE | GENERIC_WRITE | GENERIC_ALL;

bool IsAdminsOrSystem(PSID pSid) {
    return pSid && IsValidSid(pSid) &&
           (IsWellKnownSid(pSid, WinBuiltinAdministratorsSid) ||
            IsWellKnownSid(pSid, WinLocalSystemSid));
}

// Only Administrators and SYSTEM may read or write; every entry is one we
// know.
bool OnlyAdminsMayUse(const ACL* pDacl) {
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
        if ((pAllowed->Mask & kOthersRights) != 0 && !IsAdminsOrSystem(pSid)) {
            return false;
        }
    }
    return true;
}

}  // namespace

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
    return IsAdminsOrSystem(pOwner) && bPresent && pDacl && OnlyAdminsMayUse(pDacl);
}
