#include "BlockWrite.h"

bool WriteInBlocks(HANDLE hFile, const BYTE* pData, DWORD nLength, DWORD& dwError) {
    DWORD nRemaining = nLength;
    while (nRemaining != 0) {
        const DWORD nBlock = nRemaining < WRITE_BLOCK_SIZE ? nRemaining : WRITE_BLOCK_SIZE;
        DWORD nWritten = 0;
        if (!WriteFile(hFile, pData, nBlock, &nWritten, nullptr) || nWritten == 0) {
            dwError = GetLastError();
            if (dwError == 0) {
                dwError = ERROR_WRITE_FAULT;
            }
            return false;
        }
        pData += nWritten;
        nRemaining -= nWritten;
    }
    return true;
}
