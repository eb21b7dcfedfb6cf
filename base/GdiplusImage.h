#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "UniqueHandle.h"

// A GDI+ image the holder owns, deleted as GDI+ asks: before the session of
// CGdiplusSession ends.
struct GdiplusImageTraits {
    using Handle = Gdiplus::Image*;
    static Handle None() { return nullptr; }
    static void Close(Handle pImage) { delete pImage; }
};
using CGdiplusImage = CUniqueHandle<GdiplusImageTraits>;
