// The chain parameters' time-out fields; before windows.h brings wincrypt.h.
#define CERT_CHAIN_PARA_HAS_EXTRA_FIELDS
#include "InstallerTrust.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <process.h>

#include <cwchar>
#include <new>
#include <vector>

namespace {

// Chain states that say only that revocation could not be checked.
const DWORD kRevocationUnchecked =
    CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;
// A status server that does not answer costs at most this long.
const DWORD kRevocationTimeoutMs = 15000;

// The revocation states of the signer's chain, built anew with revocation
// checked (excluding the root): Wine's WinVerifyTrust checks no revocation
// at all (measured: a revoked signer passes, its CA's list never asked for),
// and on Windows the list WinVerifyTrust fetched is cached.
DWORD RevocationStatusOf(PCCERT_CONTEXT pCert) {
    CERT_CHAIN_PARA para = {};
    para.cbSize = sizeof(para);
    para.dwUrlRetrievalTimeout = kRevocationTimeoutMs;
    PCCERT_CHAIN_CONTEXT pChain = nullptr;
    if (!CertGetCertificateChain(nullptr, pCert, nullptr, pCert->hCertStore, &para,
                                 CERT_CHAIN_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT, nullptr,
                                 &pChain)) {
        return CERT_TRUST_REVOCATION_STATUS_UNKNOWN;
    }
    const DWORD dwStatus =
        pChain->TrustStatus.dwErrorStatus & (kRevocationUnchecked | CERT_TRUST_IS_REVOKED);
    CertFreeCertificateChain(pChain);
    return dwStatus;
}

// One such chain on a helper thread, which may outlive the wait for it: Wine
// ignores the chain's retrieval time-out (measured: a list that never came
// held the call for the server's full minute). The record goes with
// whichever of the two lets go last.
struct RevocationLookup {
    PCCERT_CONTEXT pCert = nullptr;  // a duplicate, the lookup's own
    HANDLE hDone = nullptr;
    DWORD dwStatus = CERT_TRUST_IS_OFFLINE_REVOCATION;  // read after hDone only
    volatile LONG nRefs = 2;
};

void LetGo(RevocationLookup* pLookup) {
    if (InterlockedDecrement(&pLookup->nRefs) == 0) {
        CertFreeCertificateContext(pLookup->pCert);
        CloseHandle(pLookup->hDone);
        delete pLookup;
    }
}

unsigned __stdcall LookUpRevocation(void* pParam) {
    RevocationLookup* pLookup = static_cast<RevocationLookup*>(pParam);
    pLookup->dwStatus = RevocationStatusOf(pLookup->pCert);
    SetEvent(pLookup->hDone);
    LetGo(pLookup);
    return 0;
}

// RevocationStatusOf within kRevocationTimeoutMs; past that, offline.
DWORD BoundedRevocationStatusOf(PCCERT_CONTEXT pCert) {
    RevocationLookup* pLookup = new (std::nothrow) RevocationLookup;
    if (!pLookup) {
        return CERT_TRUST_REVOCATION_STATUS_UNKNOWN;
    }
    pLookup->pCert = CertDuplicateCertificateContext(pCert);
    pLookup->hDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const uintptr_t hThread =
        pLookup->hDone ? _beginthreadex(nullptr, 0, LookUpRevocation, pLookup, 0, nullptr) : 0;
    if (hThread == 0) {
        pLookup->nRefs = 1;
        LetGo(pLookup);
        return CERT_TRUST_REVOCATION_STATUS_UNKNOWN;
    }
    CloseHandle(reinterpret_cast<HANDLE>(hThread));
    const bool bDone = WaitForSingleObject(pLookup->hDone, kRevocationTimeoutMs) == WAIT_OBJECT_0;
    const DWORD dwStatus = bDone ? pLookup->dwStatus : CERT_TRUST_IS_OFFLINE_REVOCATION;
    LetGo(pLookup);
    return dwStatus;
}

}  // namespace

bool IsRevocationAcceptable(DWORD dwChainStatus, RevocationRule rule) {
    if (dwChainStatus & CERT_TRUST_IS_REVOKED) {
        return false;
    }
    return rule == RevocationRule::kUnknownAccepted || (dwChainStatus & kRevocationUnchecked) == 0;
}

bool CInstallerTrust::Refuse(const wchar_t* pszReason, DWORD dwCode) {
    m_pszReason = pszReason;
    m_dwCode = dwCode;
    return false;
}

bool CInstallerTrust::Verify(HANDLE hFile, const wchar_t* pszPath, DWORD& dwError) {
    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof(file);
    file.pcwszFilePath = pszPath;
    file.hFile = hFile;
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    // Revocation of the signer and its CAs is asked for: a revoked signer (a
    // stolen key) is refused whenever the CA's server answers. When it cannot
    // be reached, the rule decides (RevocationRule).
    data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    data.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG lResult = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    bool bTrusted = false;
    if (lResult != ERROR_SUCCESS && lResult != static_cast<LONG>(CERT_E_REVOCATION_FAILURE)) {
        Refuse(L"signature", static_cast<DWORD>(lResult));
    } else {
        bTrusted = CheckSigner(data.hWVTStateData,
                               lResult == ERROR_SUCCESS ? 0 : CERT_TRUST_REVOCATION_STATUS_UNKNOWN);
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    dwError = bTrusted ? 0 : m_dwCode;
    return bTrusted;
}

bool CInstallerTrust::CheckSigner(HANDLE hStateData, DWORD dwRevocationStatus) {
    CRYPT_PROVIDER_DATA* pProvider =
        hStateData ? WTHelperProvDataFromStateData(hStateData) : nullptr;
    CRYPT_PROVIDER_SGNR* pSigner =
        pProvider ? WTHelperGetProvSignerFromChain(pProvider, 0, FALSE, 0) : nullptr;
    if (!pSigner || !pSigner->pChainContext) {
        return Refuse(L"no signer chain", static_cast<DWORD>(TRUST_E_NOSIGNATURE));
    }
    // WinVerifyTrust may accept a chain that ends in a root nobody trusts
    // (measured under Wine): the chain's own status decides.
    const DWORD dwChainError = pSigner->pChainContext->TrustStatus.dwErrorStatus;
    if ((dwChainError & ~kRevocationUnchecked) != 0) {
        return Refuse(L"signer chain", dwChainError);
    }
    CRYPT_PROVIDER_CERT* pCert = WTHelperGetProvCertFromChain(pSigner, 0);
    wchar_t szName[256] = L"";
    if (!pCert || !pCert->pCert ||
        CertGetNameStringW(pCert->pCert, CERT_NAME_ATTR_TYPE, 0,
                           const_cast<char*>(szOID_COMMON_NAME), szName, 256) <= 1) {
        return Refuse(L"signer without a name", static_cast<DWORD>(CERT_E_CN_NO_MATCH));
    }
    if (wcscmp(szName, m_policy.pszPublisher) != 0) {
        return Refuse(L"another publisher", static_cast<DWORD>(CERT_E_CN_NO_MATCH));
    }
    // The same name from another trusted CA is someone else.
    if (m_policy.pszIssuer[0] != L'\0') {
        wchar_t szIssuer[256] = L"";
        if (CertGetNameStringW(pCert->pCert, CERT_NAME_ATTR_TYPE, CERT_NAME_ISSUER_FLAG,
                               const_cast<char*>(szOID_COMMON_NAME), szIssuer, 256) <= 1 ||
            wcscmp(szIssuer, m_policy.pszIssuer) != 0) {
            return Refuse(L"another issuer", static_cast<DWORD>(CERT_E_ISSUERCHAINING));
        }
    }
    dwRevocationStatus |= dwChainError | BoundedRevocationStatusOf(pCert->pCert);
    if (dwRevocationStatus & CERT_TRUST_IS_REVOKED) {
        return Refuse(L"revoked signer", static_cast<DWORD>(CERT_E_REVOKED));
    }
    if (!IsRevocationAcceptable(dwRevocationStatus, m_rule)) {
        return Refuse(L"revocation unknown on the plain-HTTP road",
                      static_cast<DWORD>(CERT_E_REVOCATION_FAILURE));
    }
    return true;
}

bool CInstallerTrust::CheckVersion(const wchar_t* pszPath, DWORD& dwError) {
    const bool bRecent = CheckFileVersion(pszPath);
    dwError = bRecent ? 0 : m_dwCode;
    return bRecent;
}

bool CInstallerTrust::CheckFileVersion(const wchar_t* pszPath) {
    if (!m_policy.bVersionRequired) {
        return true;
    }
    DWORD dwHandle = 0;
    const DWORD cbInfo = GetFileVersionInfoSizeW(pszPath, &dwHandle);
    std::vector<BYTE> vecInfo(cbInfo);
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    if (cbInfo == 0 || !GetFileVersionInfoW(pszPath, 0, cbInfo, vecInfo.data()) ||
        !VerQueryValueW(vecInfo.data(), L"\\", reinterpret_cast<void**>(&pFixed), &cbFixed) ||
        cbFixed < sizeof(VS_FIXEDFILEINFO) || pFixed->dwSignature != VS_FFI_SIGNATURE) {
        return Refuse(L"no version information", static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    }
    const unsigned long long nVersion =
        (static_cast<unsigned long long>(pFixed->dwFileVersionMS) << 32) | pFixed->dwFileVersionLS;
    if (nVersion < m_policy.nMinVersion) {
        return Refuse(L"an older release", static_cast<DWORD>(ERROR_REVISION_MISMATCH));
    }
    return true;
}
