#pragma once

#include <windows.h>
#include <objbase.h>

// COM for this thread from construction to the end of the scope; a failed
// CoInitialize is not balanced by CoUninitialize.
class CComApartment {
public:
    CComApartment() : m_hr(CoInitialize(nullptr)) {}
    ~CComApartment() {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
        }
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};
