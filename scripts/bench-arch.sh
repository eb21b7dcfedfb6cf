# Sourced by scripts/test and scripts/demo (after install-deps, with $root):
# the build this machine can run. Some virtual machines cannot execute
# 32-bit code, and 32-bit Wine with it: there everything is built for 64-bit
# Windows (MinGW-w64 x86-64) into build-x64/ and run under 64-bit Wine,
# whose shim goes first on PATH. Sets wine32 (yes or no), build (unless
# KORVIX_BUILD_DIR is set) and arch (CMake arguments).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine32=yes
    build=${KORVIX_BUILD_DIR:-$root/build}
    arch=()
else
    wine32=no
    export PATH="$root/tests/tools/wine64:$PATH"
    build=${KORVIX_BUILD_DIR:-$root/build-x64}
    arch=(-DKORVIX_MINGW_PREFIX=x86_64-w64-mingw32)
fi
