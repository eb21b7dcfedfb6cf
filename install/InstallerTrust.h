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

class CInstallerTrust {
public:
    explicit CInstallerTrust(const InstallerPolicy& policy) : m_policy(policy) {}

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
    bool CheckSigner(HANDLE hStateData);

    InstallerPolicy m_policy;
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
