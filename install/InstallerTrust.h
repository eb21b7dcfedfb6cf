#pragma once

#include <windows.h>

// Whether a downloaded installer is the publisher's own, before it runs with
// administrator rights: a valid Authenticode signature over every byte, a
// signer chain that ends in a root this machine trusts, and a signer whose
// subject common name is the build's publisher.
class CInstallerTrust {
public:
    explicit CInstallerTrust(const wchar_t* pszPublisher) : m_pszPublisher(pszPublisher) {}

    // Checks the file at pszPath through hFile, which the caller holds open
    // without write or delete sharing until the child has started, so that
    // what runs is what was checked. On refusal Reason() and Code() say why.
    bool Verify(HANDLE hFile, const wchar_t* pszPath);

    const wchar_t* Reason() const { return m_pszReason; }
    // A WinVerifyTrust result, a chain's error status or a Win32 error.
    DWORD Code() const { return m_dwCode; }

private:
    bool Refuse(const wchar_t* pszReason, DWORD dwCode);
    bool CheckSigner(HANDLE hStateData);

    const wchar_t* m_pszPublisher;
    const wchar_t* m_pszReason = L"";
    DWORD m_dwCode = 0;
};

// The build's publisher: the subject common name of the certificate that
// signs the product's installer (generated from install/Publisher.cpp.in).
extern const wchar_t kInstallerPublisher[];
