#pragma once

#include <string>

// One pack file found in the pack folder.
struct _LANGUAGEPACKAGE {
    std::wstring strFileName;  // as found, e.g. L"English.ini"
    std::wstring strPackName;  // the same file name
};
