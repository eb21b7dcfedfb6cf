#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Loads the resource nId of type pszType from the program's module as a GDI+
// image; on success *ppImage is a new image the caller deletes with delete.
// Bytes that do not decode still give true: that image draws nothing. On
// false *ppImage is unchanged, and dwError is the failed call's error when
// the resource is there but could not be loaded or locked (the caller
// reports it); 0 when it is missing, or memory for its copy ran out.
bool LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage, DWORD& dwError);
