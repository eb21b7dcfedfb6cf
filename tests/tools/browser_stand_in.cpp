// browser_stand_in RECORD URL: registered in the test prefix as the program
// that opens http and https addresses. Appends URL to RECORD and the name of
// the program that started it to RECORD.parent, one line each.
#include <windows.h>

#include <string>

#include "FixtureText.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    const std::wstring strRecord = argv[1];
    AppendToFile(strRecord + L".parent", ParentProgramName() + "\n");
    return AppendToFile(strRecord, Utf8(argv[2]) + "\n") ? 0 : 1;
}
