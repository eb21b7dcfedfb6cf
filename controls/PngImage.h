#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Loads the resource nId of type pszType from the program's module as a GDI+
// image; on success *ppImage is a new image the caller deletes with delete.
// A missing resource returns FALSE silently; a resource that cannot be
// loaded or locked posts WM_DOWN_ERROR (error code, DOWN_ERR_SYSTEM) to
// hNotifyWnd. Bytes that do not decode still give TRUE: that image draws
// nothing. On FALSE *ppImage is unchanged.
BOOL LoadPngImage(HWND hNotifyWnd, UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage);
