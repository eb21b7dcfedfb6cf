// The download folder by handle: which folder is used, and what the program
// may do to the files in it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DownloadFolder.h"

namespace {

// A parent folder of this test's own under the temporary folder.
class DownloadFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        m_strParent = std::wstring(szTemp) + L"korvix-folder-" +
                      std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(GetTickCount());
        ASSERT_TRUE(CreateDirectoryW(m_strParent.c_str(), nullptr));
    }

    void TearDown() override {
        for (const wchar_t* pszName : {L"Velmora\\a.exe", L"Velmora\\b.exe", L"Velmora"}) {
            const std::wstring strPath = m_strParent + L"\\" + pszName;
            DeleteFileW(strPath.c_str());
            RemoveDirectoryW(strPath.c_str());
        }
        RemoveDirectoryW(m_strParent.c_str());
    }

    void WriteFileAt(const std::wstring& strName, const char* pszText) {
        CFileHandle file(CreateFileW((m_strParent + L"\\" + strName).c_str(), GENERIC_WRITE, 0,
                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD nWritten = 0;
        WriteFile(file.Get(), pszText, static_cast<DWORD>(strlen(pszText)), &nWritten, nullptr);
    }

    std::string ReadFileAt(const std::wstring& strName) {
        CFileHandle file(CreateFileW((m_strParent + L"\\" + strName).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        char szText[64] = {};
        DWORD nRead = 0;
        return file && ReadFile(file.Get(), szText, sizeof(szText) - 1, &nRead, nullptr)
                   ? std::string(szText, nRead)
                   : std::string();
    }

    std::wstring m_strParent;
};

// A file in the folder's place is someone's: a fresh folder is made beside
// it and removed at the end; the file stays as it was.
TEST_F(DownloadFolderTest, FreshFolderBesideSomeonesFile) {
    WriteFileAt(L"Velmora", "someone's");
    CDownloadFolder folder;
    DWORD dwError = 0;
    ASSERT_TRUE(folder.Open(m_strParent, L"Velmora", dwError)) << dwError;
    EXPECT_TRUE(folder.IsFresh());
    const std::wstring strFresh = folder.Path();
    EXPECT_EQ(m_strParent + L"\\Velmora-", strFresh.substr(0, m_strParent.size() + 9));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strFresh.c_str()));
    folder.Release();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strFresh.c_str()));
    EXPECT_EQ("someone's", ReadFileAt(L"Velmora"));

    // Made by this call, the fixed folder is used and kept.
    DeleteFileW((m_strParent + L"\\Velmora").c_str());
    ASSERT_TRUE(folder.Open(m_strParent, L"Velmora", dwError)) << dwError;
    EXPECT_FALSE(folder.IsFresh());
    EXPECT_EQ(m_strParent + L"\\Velmora", folder.Path());
    folder.Release();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((m_strParent + L"\\Velmora").c_str()));
}

// Files are reached by name in the folder only, a move never replaces, a
// delete checks whose file it is, and the held installer can be read by
// others but changed by no one.
TEST_F(DownloadFolderTest, FilesOfTheFolder) {
    CDownloadFolder folder;
    DWORD dwError = 0;
    ASSERT_TRUE(folder.Open(m_strParent, L"Velmora", dwError)) << dwError;
    for (const wchar_t* pszName : {L"..\\x.exe", L"sub\\x.exe", L"x.exe:stream", L"..", L""}) {
        EXPECT_FALSE(folder.OpenFile(pszName, GENERIC_WRITE, 0, FILE_CREATE, dwError)) << pszName;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), dwError) << pszName;
    }
    CFileHandle other = folder.OpenFile(L"b.exe", GENERIC_WRITE, 0, FILE_CREATE, dwError);
    ASSERT_TRUE(other) << dwError;
    other.Close();
    CFileHandle file =
        folder.OpenFile(L"a.down", GENERIC_READ | GENERIC_WRITE | DELETE, 0, FILE_CREATE, dwError);
    ASSERT_TRUE(file) << dwError;
    FileIdentity identity;
    ASSERT_TRUE(ReadFileIdentity(file.Get(), identity));

    EXPECT_FALSE(folder.MoveInto(file.Get(), L"b.exe", dwError));
    ASSERT_TRUE(folder.MoveInto(file.Get(), L"a.exe", dwError)) << dwError;
    EXPECT_TRUE(PathNamesFile(folder.Path() + L"\\a.exe", file.Get()));
    EXPECT_FALSE(PathNamesFile(folder.Path() + L"\\b.exe", file.Get()));
    EXPECT_FALSE(folder.DeleteFileOf(L"b.exe", identity)) << "b.exe is another file";

    file.Close();
    file = folder.OpenFile(L"a.exe", GENERIC_READ | DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                           FILE_OPEN, dwError);
    ASSERT_TRUE(file) << dwError;
    ASSERT_TRUE(HoldForReadingOnly(file, dwError)) << dwError;
    EXPECT_TRUE(PathNamesFile(folder.Path() + L"\\a.exe", file.Get()));
    const std::wstring strPath = folder.Path() + L"\\a.exe";
    CFileHandle reader(CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(reader) << "a program must be able to read itself";
    for (DWORD dwAccess : {static_cast<DWORD>(GENERIC_WRITE), static_cast<DWORD>(DELETE)}) {
        CFileHandle changer(
            CreateFileW(strPath.c_str(), dwAccess, 7, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(changer) << dwAccess;
    }
    reader.Close();
    file.Close();
    EXPECT_TRUE(folder.DeleteFileOf(L"a.exe", identity));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strPath.c_str()));
    EXPECT_TRUE(folder.DeleteOwnFile(L"b.exe", dwError)) << dwError;
    EXPECT_TRUE(folder.DeleteOwnFile(L"b.exe", dwError)) << "nothing left of that name is fine";
}

}  // namespace
