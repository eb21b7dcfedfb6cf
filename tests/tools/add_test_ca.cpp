// add_test_ca CERT.pem|CERT.der: trusts a test CA for this Wine prefix by
// adding it to the LocalMachine "Root" store, as WinINet and WinHTTP check.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool ReadFileBytes(const wchar_t* pszPath, std::vector<BYTE>& bytes) {
    FILE* pFile = _wfopen(pszPath, L"rb");
    if (!pFile) {
        return false;
    }
    BYTE buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), pFile)) > 0) {
        bytes.insert(bytes.end(), buf, buf + n);
    }
    fclose(pFile);
    return !bytes.empty();
}

// PEM or DER in, DER out.
bool ToDer(const std::vector<BYTE>& file, std::vector<BYTE>& der) {
    std::string text(file.begin(), file.end());
    if (text.find("-----BEGIN CERTIFICATE-----") == std::string::npos) {
        der = file;
        return true;
    }
    DWORD cb = 0;
    if (!CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &cb, nullptr,
                              nullptr)) {
        return false;
    }
    der.resize(cb);
    return CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &cb,
                                nullptr, nullptr) != FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fwprintf(stderr, L"usage: add_test_ca CERT.pem\n");
        return 2;
    }
    std::vector<BYTE> file, der;
    if (!ReadFileBytes(argv[1], file) || !ToDer(file, der)) {
        fwprintf(stderr, L"add_test_ca: cannot read a certificate from %ls\n", argv[1]);
        return 1;
    }
    HCERTSTORE hStore =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!hStore) {
        fwprintf(stderr, L"add_test_ca: CertOpenStore failed, error %lu\n", GetLastError());
        return 1;
    }
    BOOL bAdded = CertAddEncodedCertificateToStore(hStore, X509_ASN_ENCODING, der.data(),
                                                   static_cast<DWORD>(der.size()),
                                                   CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD dwError = GetLastError();
    CertCloseStore(hStore, 0);
    if (!bAdded) {
        fwprintf(stderr, L"add_test_ca: adding the certificate failed, error %lu\n", dwError);
        return 1;
    }
    wprintf(L"trusted: %ls\n", argv[1]);
    return 0;
}
