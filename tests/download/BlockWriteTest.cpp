// A segment written to the file in blocks.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockWrite.h"
#include "PackFiles.h"

TEST(BlockWrite, SegmentsLargerThanABlockLandWholeAndInOrder) {
    const std::wstring strPath = MakeScratchFolder(L"BlockWrite") + L"\\segments.down";
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    // Two segments: one of two blocks and a few bytes, one under a block.
    std::string strFirst(2 * WRITE_BLOCK_SIZE + 3, '\0');
    std::string strSecond(1000, '\0');
    for (size_t i = 0; i < strFirst.size(); ++i) {
        strFirst[i] = static_cast<char>(i * 7 + i / 4096);
    }
    for (size_t i = 0; i < strSecond.size(); ++i) {
        strSecond[i] = static_cast<char>(255 - i);
    }
    const BYTE* pFirst = reinterpret_cast<const BYTE*>(strFirst.data());
    const BYTE* pSecond = reinterpret_cast<const BYTE*>(strSecond.data());
    DWORD dwError = 0;
    EXPECT_TRUE(WriteInBlocks(hFile, pFirst, static_cast<DWORD>(strFirst.size()), dwError));
    EXPECT_TRUE(WriteInBlocks(hFile, pSecond, 0, dwError));  // nothing to write
    EXPECT_TRUE(WriteInBlocks(hFile, pSecond, static_cast<DWORD>(strSecond.size()), dwError));
    CloseHandle(hFile);
    EXPECT_TRUE(ReadWholeFile(strPath) == strFirst + strSecond);
}

TEST(BlockWrite, AFailedCallReportsItsError) {
    const std::wstring strPath = MakeScratchFolder(L"BlockWriteFails") + L"\\readonly.down";
    WriteWholeFile(strPath, std::string());
    // Opened for reading only: every write is refused.
    HANDLE hFile =
        CreateFileW(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    std::vector<BYTE> vecData(WRITE_BLOCK_SIZE + 1, 1);
    DWORD dwError = 0;
    EXPECT_FALSE(WriteInBlocks(hFile, vecData.data(), static_cast<DWORD>(vecData.size()), dwError));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), dwError);
    CloseHandle(hFile);
}
