// Which descriptors keep the download folder private.

#include <windows.h>
#include <sddl.h>

#include <cwchar>

#include <gtest/gtest.h>

#include "PrivateFolder.h"

// The download folder's own descriptor is private, and names no one but
// SYSTEM and Administrators; one that lets anyone else read, write, delete or
// change it, or has another owner or no list, is not.
TEST(PrivateFolder, OnlyAdministratorsAndSystemMayUseIt) {
    auto isPrivate = [](const wchar_t* pszSddl) {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(pszSddl, SDDL_REVISION_1,
                                                                         &pDescriptor, nullptr))
            << pszSddl;
        const bool bPrivate = pDescriptor && IsPrivateDescriptor(pDescriptor);
        LocalFree(pDescriptor);
        return bPrivate;
    };
    EXPECT_TRUE(isPrivate(kPrivateFolderSddl));
    EXPECT_EQ(nullptr, wcsstr(kPrivateFolderSddl, L";BU)")) << "a Users entry";
    EXPECT_TRUE(isPrivate(L"O:SYD:P(A;OICI;FA;;;SY)(A;;0x100080;;;WD)(D;;FA;;;AN)"));  // attributes
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"));         // users read
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;;GR;;;WD)"));            // everyone reads
    EXPECT_FALSE(isPrivate(L"O:BUD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"));        // a user owns it
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)"));  // users modify
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;;0x2;;;IU)"));           // may add files
    EXPECT_FALSE(isPrivate(L"O:BAD:P(A;OICI;FA;;;BA)(A;;WD;;;WD)"));  // may change the list
    // No list at all lets everyone in.
    SECURITY_DESCRIPTOR open = {};
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD cbAdmins = sizeof(admins);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &cbAdmins));
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&open, admins, FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
    EXPECT_FALSE(IsPrivateDescriptor(&open));
}
