#include "TrustStoreWarmUp.h"

#include <windows.h>
#include <wincrypt.h>
#include <process.h>

namespace {

unsigned __stdcall TrustStoreThread(void* /*pParam*/) {
    LoadTrustStore();
    return 0;
}

}  // namespace

void LoadTrustStore() {
    HCERTSTORE hRoot = CertOpenSystemStoreW(0, L"ROOT");
    if (!hRoot) {
        return;
    }
    // Opening the store is half of it: building one chain with the default
    // engine fills the engine's own cache, which the handshakes use.
    PCCERT_CONTEXT pCert = CertEnumCertificatesInStore(hRoot, nullptr);
    if (pCert) {
        CERT_CHAIN_PARA para = {};
        para.cbSize = sizeof(para);
        PCCERT_CHAIN_CONTEXT pChain = nullptr;
        if (CertGetCertificateChain(nullptr, pCert, nullptr, nullptr, &para, 0, nullptr, &pChain)) {
            CertFreeCertificateChain(pChain);
        }
        CertFreeCertificateContext(pCert);
    }
    CertCloseStore(hRoot, 0);
}

void WarmUpTrustStore() {
    // Nothing depends on it: without a thread the first handshake loads them.
    uintptr_t hThread = _beginthreadex(nullptr, 0, TrustStoreThread, nullptr, 0, nullptr);
    if (hThread != 0) {
        CloseHandle(reinterpret_cast<HANDLE>(hThread));
    }
}
