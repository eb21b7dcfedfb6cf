#pragma once

#include <windows.h>

// Whether a downloaded installer is the publisher's own, and recent enough,
// before it runs with administrator rights: a valid Authenticode signature
// over every byte, a signer chain that ends in a root this machine trusts, a
// signer whose subject common name is the build's publisher, issued by the
// build's CA, and a file version no older than the build's minimum (an old
// signed release served by a hostile network is refused).
struct InstallerPolicy {
    const wchar_t* pszPublisher;     // the signer's subject common name
    const wchar_t* pszIssuer;        // its issuer's common name; empty: any trusted CA
    bool bVersionRequired;           // a file version of at least nMinVersion is required
    unsigned long long nMinVersion;  // a.b.c.d as four 16-bit parts, a highest
};

// How far the revocation of the signer's certificate must be known. On the
// HTTPS road the download's channel is authenticated and a company network
// may block the CA's status server: unknown is no refusal. On the plain-HTTP
// road whoever forced it may also answer the status requests: it must be
// known, and good.
enum class RevocationRule { kUnknownAccepted, kMustBeKnown };

// The verdict on a chain's status (CERT_TRUST_*): false when its signer is
// revoked, or when its revocation is unknown and the rule wants it known.
bool IsRevocationAcceptable(DWORD dwChainStatus, RevocationRule rule);

class CInstallerTrust {
public:
    CInstallerTrust(const InstallerPolicy& policy, RevocationRule rule)
        : m_policy(policy), m_rule(rule) {}

    // Checks the signature of the file at pszPath through hFile, which the
    // caller holds open without write or delete sharing until the child has
    // started, so that what runs is what was checked. On refusal dwError is
    // a WinVerifyTrust result, a chain's error status or a Win32 error, and
    // Reason() says why in words.
    bool Verify(HANDLE hFile, const wchar_t* pszPath, DWORD& dwError);
    // Checks the file version of the verified file at pszPath, which names
    // the held file (its version resource is part of what was signed).
    bool CheckVersion(const wchar_t* pszPath, DWORD& dwError);

    const wchar_t* Reason() const { return m_pszReason; }

private:
    bool Refuse(const wchar_t* pszReason, DWORD dwCode);
    bool CheckFileVersion(const wchar_t* pszPath);
    bool CheckSigner(HANDLE hStateData, DWORD dwRevocationStatus);

    InstallerPolicy m_policy;
    RevocationRule m_rule;
    const wchar_t* m_pszReason = L"";
    DWORD m_dwCode = 0;
};

// The build's policy (generated from install/Publisher.cpp.in).
extern const wchar_t kInstallerPublisher[];
extern const wchar_t kInstallerIssuer[];
extern const bool kInstallerVersionRequired;
extern const unsigned long long kMinInstallerVersion;

inline InstallerPolicy BuildInstallerPolicy() {
    return InstallerPolicy{kInstallerPublisher, kInstallerIssuer, kInstallerVersionRequired,
                           kMinInstallerVersion};
}
