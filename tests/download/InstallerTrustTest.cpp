// Whether a signer's revocation state lets its installer run, on each road.

#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include "InstallerTrust.h"

TEST(InstallerTrust, RevocationVerdictOnEachRoad) {
    struct Row {
        const char* pszName;
        DWORD dwStatus;
        bool bOverHttps;      // accepted on the HTTPS road
        bool bOverPlainHttp;  // accepted after the fallback
    };
    const Row rows[] = {
        {"known good", 0, true, true},
        {"revoked", CERT_TRUST_IS_REVOKED, false, false},
        {"unknown", CERT_TRUST_REVOCATION_STATUS_UNKNOWN, true, false},
        {"the status server offline", CERT_TRUST_IS_OFFLINE_REVOCATION, true, false},
        {"revoked, and offline for a CA", CERT_TRUST_IS_REVOKED | CERT_TRUST_IS_OFFLINE_REVOCATION,
         false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(row.bOverHttps,
                  IsRevocationAcceptable(row.dwStatus, RevocationRule::kUnknownAccepted));
        EXPECT_EQ(row.bOverPlainHttp,
                  IsRevocationAcceptable(row.dwStatus, RevocationRule::kMustBeKnown));
    }
}
