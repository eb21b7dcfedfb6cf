#include "WindowImpl.h"

const wchar_t kWindowImplProperty[] = L"Korvix.WindowImpl";
