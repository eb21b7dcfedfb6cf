// The image's load configuration: the DLLs it imports come from System32
// (DependentLoadFlags, honoured by Windows 10 1607 and later), a second wall
// beside the late loading of every DLL but the three that the loader always
// takes from there (base/SystemLibrary.h). MSVC writes this record itself
// (/DEPENDENTLOADFLAG:0x800); the GNU linker of our toolchain does not point
// the image at it, which tools/pe_load_config.py does after the link.
#include <windows.h>

#if !defined(_MSC_VER)
// Fields in their order up to DependentLoadFlags (called Reserved1 in
// MinGW's headers); everything else stays 0: no security cookie, no SEH table.
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = {
    sizeof(IMAGE_LOAD_CONFIG_DIRECTORY), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    LOAD_LIBRARY_SEARCH_SYSTEM32,        0, 0, 0, 0};
#endif
