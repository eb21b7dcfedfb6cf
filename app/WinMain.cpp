#include <windows.h>

#include "LanguagePacks.h"

// Start-up, so far: the language steps. The command line is never read.
int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*pszCmdLine*/,
                    int /*nShowCmd*/) {
    ExtractLanguagePacks();
    InitLanguage();
    return 0;
}
