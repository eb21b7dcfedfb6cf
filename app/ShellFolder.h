#pragma once

#include <string>

// The path of a shell folder (a CSIDL), or "" when any step of the lookup
// fails.
std::wstring SpecialFolderPath(int nCsidl);
