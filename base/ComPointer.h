#pragma once

#include <unknwn.h>

// The one owner of a COM interface pointer: released when the owner goes.
template <typename T>
class CComPointer {
public:
    CComPointer() = default;
    ~CComPointer() { Release(); }
    CComPointer(const CComPointer&) = delete;
    CComPointer& operator=(const CComPointer&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For calls that return the interface through a pointer.
    T** Receive() {
        Release();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void Release() {
        if (m_p) {
            m_p->Release();
            m_p = nullptr;
        }
    }

private:
    T* m_p = nullptr;
};
