#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Why LoadPngImage returned FALSE.
struct PngLoadFailure {
    // The resource is there but could not be loaded or locked: the caller
    // reports it. A missing resource, or memory for its copy that ran out,
    // leaves it false.
    bool bReport = false;
    DWORD dwError = 0;  // GetLastError() of the failed call, when bReport
};

// Loads the resource nId of type pszType from the program's module as a GDI+
// image; on success *ppImage is a new image the caller deletes with delete.
// Bytes that do not decode still give TRUE: that image draws nothing. On
// FALSE *ppImage is unchanged and *pFailure (when given) says why.
BOOL LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage,
                  PngLoadFailure* pFailure = nullptr);
