# The Visual Studio build links the C runtime statically, as the MinGW build
# does (-static, KorvixTarget.cmake): it imports no runtime DLL, so no
# VCRUNTIME140.dll or api-ms-win-crt-*.dll saved beside the program is ever
# loaded into it, elevated (its /DEPENDENTLOADFLAG keeps load-time imports to
# System32 only from Windows 10 1607 on), and a machine without the
# redistributable runs it. Set before any target, which takes it when made.
set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
