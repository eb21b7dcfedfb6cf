#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// GDI+ from construction to the end of the scope; every GDI+ object must be
// gone before it ends.
class CGdiplusSession {
public:
    CGdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        m_status = Gdiplus::GdiplusStartup(&m_nToken, &input, nullptr);
    }
    ~CGdiplusSession() {
        if (m_status == Gdiplus::Ok) {
            Gdiplus::GdiplusShutdown(m_nToken);
        }
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

private:
    ULONG_PTR m_nToken = 0;
    Gdiplus::Status m_status;
};
