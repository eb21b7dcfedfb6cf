#pragma once

#include <windows.h>

// The one owner of a handle the program opened. Traits says which value
// means "none" and closes a handle with its own stack's call; a closed
// owner holds "none" again. Move-only, as the handle is.
template <typename Traits>
class CUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    CUniqueHandle() = default;
    explicit CUniqueHandle(Handle hHandle) : m_hHandle(hHandle) {}
    ~CUniqueHandle() { Close(); }

    CUniqueHandle(CUniqueHandle&& other) noexcept : m_hHandle(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other) {
            Attach(other.Detach());
        }
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    Handle Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle != Traits::None(); }
    explicit operator bool() const { return IsValid(); }

    // Takes hHandle over, closing what was held before.
    void Attach(Handle hHandle) {
        Close();
        m_hHandle = hHandle;
    }
    // Gives the handle up without closing it.
    Handle Detach() {
        const Handle hHandle = m_hHandle;
        m_hHandle = Traits::None();
        return hHandle;
    }
    void Close() {
        if (IsValid()) {
            Traits::Close(m_hHandle);
            m_hHandle = Traits::None();
        }
    }
    // For calls that return the handle through a pointer.
    Handle* Receive() {
        Close();
        return &m_hHandle;
    }

private:
    Handle m_hHandle = Traits::None();
};

// Kernel objects whose "none" is null: processes, threads, events, mutexes.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Close(Handle hHandle) { CloseHandle(hHandle); }
};
using CKernelHandle = CUniqueHandle<KernelHandleTraits>;

// Files, whose "none" is INVALID_HANDLE_VALUE (CreateFileW's failure).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle hHandle) { CloseHandle(hHandle); }
};
using CFileHandle = CUniqueHandle<FileHandleTraits>;

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Close(Handle hKey) { RegCloseKey(hKey); }
};
using CRegistryKey = CUniqueHandle<RegistryKeyTraits>;
