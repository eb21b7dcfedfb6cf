#pragma once

#include <windows.h>

// Language-dependent pictures sit at base + offset; base is 263 + 10 k.
// The offset of a UI language id (exact ids only; every other is English).
UINT LocalizedImageOffset(LANGID wLangId);
// The variant of a language-dependent picture for the current UI language.
UINT GetLocalizedImageId(UINT nBaseId);
// Every picture is also drawn at twice its size, for displays scaled above
// 100 %, at its id + this.
const UINT kLargeImageOffset = 1000;
