#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ExpectedPacks.h"
#include "LanguagePackManager.h"
#include "LanguagePacks.h"
#include "PackFiles.h"
#include "TestSettings.h"

namespace {

std::wstring PackPath(const wchar_t* pszName) {
    return GetLanguagePackFolder() + L"\\" + pszName + L".ini";
}

// Decodes a stored pack back into its lines; fails the test on a bare LF.
std::vector<std::wstring> PackLines(const std::string& strBytes) {
    std::vector<std::wstring> lines;
    std::wstring strLine;
    for (size_t i = 2; i + 1 < strBytes.size(); i += 2) {
        wchar_t ch = static_cast<wchar_t>(static_cast<unsigned char>(strBytes[i]) |
                                          (static_cast<unsigned char>(strBytes[i + 1]) << 8));
        if (ch == L'\n') {
            EXPECT_FALSE(strLine.empty() || strLine.back() != L'\r') << "LF without CR";
            if (!strLine.empty()) {
                strLine.pop_back();
            }
            lines.push_back(strLine);
            strLine.clear();
        } else {
            strLine.push_back(ch);
        }
    }
    EXPECT_TRUE(strLine.empty()) << "last line has no CR LF";
    return lines;
}

// Each test that points the process-wide manager elsewhere puts it back.
class SelectedPack : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ExtractLanguagePacks(); }
    void SetUp() override { m_strSaved = g_languagePacks.m_strIniPath; }
    void TearDown() override { g_languagePacks.m_strIniPath = m_strSaved; }
    void Select(const std::wstring& strPath) { g_languagePacks.m_strIniPath = strPath; }

    std::wstring m_strSaved;
};

}  // namespace

TEST(UiLanguageName, OnlyTheExactIdsHaveTheirOwnPack) {
    struct {
        LANGID wId;
        const wchar_t* pszName;
    } const cases[] = {
        {0x0409, L"English"},  {0x0407, L"German"},    {0x040C, L"French"},  {0x0410, L"Italian"},
        {0x0411, L"Japanese"}, {0x0404, L"ChineseTW"}, {0x0807, L"English"}, {0x0C0C, L"English"},
        {0x0804, L"English"},  {0x0C04, L"English"},   {0x0413, L"English"}, {0x0000, L"English"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.pszName, UiLanguageNameFromId(c.wId)) << std::hex << c.wId;
    }
}

TEST(LanguagePackFileName, EveryIdHasAFileNameAndUnknownIdsAreEnglish) {
    const wchar_t* const names[] = {L"\\English.ini", L"\\Chinese.ini",  L"\\ChineseTW.ini",
                                    L"\\Dutch.ini",   L"\\French.ini",   L"\\German.ini",
                                    L"\\Italian.ini", L"\\Japanese.ini", L"\\Portuguese.ini",
                                    L"\\Spanish.ini"};
    for (int nId = kFirstLanguagePackId; nId <= kLastLanguagePackId; ++nId) {
        EXPECT_EQ(names[nId - kFirstLanguagePackId], GetLanguagePackFileName(nId)) << nId;
    }
    EXPECT_EQ(L"\\English.ini", GetLanguagePackFileName(252));
    EXPECT_EQ(L"\\English.ini", GetLanguagePackFileName(263));
}

TEST(PackFolder, StemIsTheFileNameUpToItsLastDot) {
    struct {
        const wchar_t* pszModule;
        const wchar_t* pszStem;
    } const cases[] = {
        {L"C:\\Users\\u\\Downloads\\Korvix_Setup.exe", L"Korvix_Setup"},
        {L"C:\\Users\\u\\Downloads\\Korvix_Setup.1.exe", L"Korvix_Setup.1"},
        {L"C:\\Users\\u\\Downloads\\Korvix_Setup", L"Korvix_Setup"},
        {L"C:\\v1.2\\Korvix_Setup", L"Korvix_Setup"},  // a dot in a folder is not the stem's
        {L"Korvix_Setup (2).exe", L"Korvix_Setup (2)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.pszStem, LanguagePackFolderStem(c.pszModule)) << c.pszModule;
    }
}

TEST(PackFolder, LiesUnderThe32BitProgramFilesNamedAfterThisProgram) {
    // A 32-bit process sees its own Program Files folder in %ProgramFiles%.
    const wchar_t* pszProgramFiles = _wgetenv(L"ProgramFiles");
    ASSERT_NE(nullptr, pszProgramFiles);
    EXPECT_EQ(std::wstring(pszProgramFiles) + L"\\velmora_down\\language_pack_tests",
              GetLanguagePackFolder());
}

TEST(PackExtraction, EachFileIsItsResourceByteForByteOnEveryRun) {
    ExtractLanguagePacks();
    for (const ExpectedPack& pack : kExpectedPacks) {
        std::string strResource = ResourceBytes(pack.nId, L"INI");
        ASSERT_GT(strResource.size(), 2u) << pack.nId;
        EXPECT_EQ(std::string("\xFF\xFE", 2), strResource.substr(0, 2));
        EXPECT_EQ(strResource, ReadWholeFile(PackPath(pack.pszName))) << pack.nId;
    }
    // Ids without an embedded pack get no file.
    for (const wchar_t* pszName : {L"Chinese", L"Dutch", L"Portuguese", L"Spanish"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(PackPath(pszName).c_str()));
    }

    // A pack edited or cut on disk is put right by the next start.
    WriteWholeFile(PackPath(L"German"), "edited");
    WriteWholeFile(PackPath(L"Japanese"), std::string());
    ExtractLanguagePacks();
    EXPECT_EQ(ResourceBytes(258, L"INI"), ReadWholeFile(PackPath(L"German")));
    EXPECT_EQ(ResourceBytes(260, L"INI"), ReadWholeFile(PackPath(L"Japanese")));
}

TEST(PackExtraction, EnumerationListsThePackFilesOnly) {
    ExtractLanguagePacks();
    std::wstring strFolder = GetLanguagePackFolder();
    std::wstring strSubFolder = strFolder + L"\\Folder.ini";
    std::wstring strOther = strFolder + L"\\readme.txt";
    CreateDirectoryW(strSubFolder.c_str(), nullptr);
    WriteWholeFile(strOther, "not a pack");

    CLanguagePackManager manager;
    manager.EnumerateLanguagePacks();
    std::set<std::wstring> found;
    for (const auto& pPack : manager.m_vecPacks) {
        EXPECT_EQ(pPack->strFileName, pPack->strPackName);
        found.insert(pPack->strFileName);
    }
    RemoveDirectoryW(strSubFolder.c_str());
    DeleteFileW(strOther.c_str());

    std::set<std::wstring> expected;
    for (const ExpectedPack& pack : kExpectedPacks) {
        expected.insert(std::wstring(pack.pszName) + L".ini");
    }
    EXPECT_EQ(expected, found);
    EXPECT_EQ(expected.size(), manager.m_vecPacks.size());
}

TEST_F(SelectedPack, UnwritablePackFolderLeavesEveryTextEmpty) {
    std::wstring strScratch = MakeScratchFolder(L"unwritable");
    std::wstring strBlocker = strScratch + L"\\blocker";
    WriteWholeFile(strBlocker, "a file where the folder should be");
    std::wstring strFolder = strBlocker + L"\\velmora_down\\Korvix_Setup";

    WriteLanguagePacks(GetModuleHandleW(nullptr), strFolder);

    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strFolder.c_str()));
    Select(strFolder + L"\\English.ini");
    EXPECT_EQ(L"", GetLanStr(L"STR_SELECT_FOLDER"));
    EXPECT_EQ(L"", GetLanStr(L"STR_DOWN_URL"));
}

TEST_F(SelectedPack, EnglishValuesReadWithoutTheBlanksAroundTheirEqualsSign) {
    Select(PackPath(L"English"));
    EXPECT_EQ(L"Select a folder", GetLanStr(L"STR_SELECT_FOLDER"));
    EXPECT_EQ(L"Velmora Korvix", GetLanStr(L"STR_PROJECT_NAME"));
    // Quotes inside a value stay; only a value wholly in quotes would lose them.
    EXPECT_EQ(
        L"Due to network issues, the installation cannot be completed. Please click \"OK\" "
        L"to download a full package in the browser.",
        GetLanStr(L"STR_NETWORK_ERROR"));
}

TEST_F(SelectedPack, EveryPackHoldsItsOwnTexts) {
    for (const ExpectedPack& pack : kExpectedPacks) {
        Select(PackPath(pack.pszName));
        EXPECT_EQ(pack.pszSoftTip, GetLanStr(L"STR_SOFT_TIP")) << pack.pszName;
        EXPECT_EQ(pack.pszWait, GetLanStr(L"STR_INSTALLING_WAIT")) << pack.pszName;
        EXPECT_EQ(pack.pszFinish, GetLanStr(L"STR_FINISH")) << pack.pszName;
        EXPECT_EQ(pack.pszReconnecting, GetLanStr(L"STR_RECONNECTING")) << pack.pszName;
        EXPECT_EQ(pack.pszDownloading, GetLanStr(L"STR_DOWNLOADING")) << pack.pszName;
        EXPECT_EQ(L"Velmora", GetLanStr(L"STR_COMPANY_NAME")) << pack.pszName;
        EXPECT_EQ(L"Korvix.exe", GetLanStr(L"STR_PROCESS_NAME")) << pack.pszName;
        EXPECT_EQ(L"", GetLanStr(L"STR_URL_ERROR")) << pack.pszName;
        // Every control's name for screen readers, and what the boxes say
        // where the desktop shell cannot open something, none left in English.
        for (const wchar_t* pszKey : kPackKeys) {
            if (wcsncmp(pszKey, L"STR_ACC_", 8) == 0 ||
                wcscmp(pszKey, L"STR_PRODUCT_INSTALLED_IN") == 0 ||
                wcscmp(pszKey, L"STR_START_FROM_MENU") == 0 ||
                wcscmp(pszKey, L"STR_OPEN_ADDRESS") == 0) {
                Select(PackPath(L"English"));
                const std::wstring strEnglish = GetLanStr(pszKey);
                Select(PackPath(pack.pszName));
                EXPECT_FALSE(GetLanStr(pszKey).empty()) << pack.pszName << " " << pszKey;
                if (pack.nId != 253) {
                    EXPECT_NE(strEnglish, GetLanStr(pszKey)) << pack.pszName << " " << pszKey;
                }
            }
        }
    }
}

TEST_F(SelectedPack, AddressesAreTheBuildSettings) {
    const wchar_t* const licences[] = KORVIX_TEST_LICENCE_URLS;
    for (size_t i = 0; i < sizeof(kExpectedPacks) / sizeof(kExpectedPacks[0]); ++i) {
        Select(PackPath(kExpectedPacks[i].pszName));
        EXPECT_EQ(KORVIX_TEST_DOWN_URL, GetLanStr(L"STR_DOWN_URL")) << kExpectedPacks[i].pszName;
        EXPECT_EQ(licences[i], GetLanStr(L"STR_LICENCE_URL")) << kExpectedPacks[i].pszName;
    }
}

TEST_F(SelectedPack, EveryPackHasItsKeysInOrderWithCrLf) {
    for (const ExpectedPack& pack : kExpectedPacks) {
        std::vector<std::wstring> lines = PackLines(ReadWholeFile(PackPath(pack.pszName)));
        const size_t nKeys = sizeof(kPackKeys) / sizeof(kPackKeys[0]);
        ASSERT_GE(lines.size(), nKeys + 1) << pack.pszName;
        EXPECT_EQ(L"[LANSTR]", lines[0]);
        for (size_t i = 0; i < nKeys; ++i) {
            std::wstring strKey = lines[i + 1].substr(0, lines[i + 1].find(L'='));
            while (!strKey.empty() && strKey.back() == L' ') {
                strKey.pop_back();
            }
            EXPECT_EQ(kPackKeys[i], strKey) << pack.pszName << " line " << i + 2;
        }
        for (size_t i = nKeys + 1; i < lines.size(); ++i) {
            EXPECT_EQ(L"", lines[i]) << pack.pszName << ": only empty lines may follow";
        }
    }
}

TEST_F(SelectedPack, NoPackOrNoKeyGivesTheEmptyString) {
    Select(std::wstring());
    EXPECT_EQ(L"", GetLanStr(L"STR_SOFT_TIP"));
    Select(GetLanguagePackFolder() + L"\\Dutch.ini");
    EXPECT_EQ(L"", GetLanStr(L"STR_SOFT_TIP"));
}

TEST(ProfileString, LongValueIsCutTo255AndAMissingKeyLeavesTheOutputAlone) {
    std::wstring strIni = MakeScratchFolder(L"long-value") + L"\\Long.ini";
    std::wstring strLong;
    for (int i = 0; i < 300; ++i) {
        strLong.push_back(static_cast<wchar_t>(L'a' + i % 26));
    }
    WriteWholeFile(strIni, EncodeIni(L"[LANSTR]\nSTR_LONG=" + strLong + L"\nSTR_EMPTY=\n"));

    CLanguagePackManager manager;
    manager.m_strIniPath = strIni;
    std::wstring strOut;
    EXPECT_EQ(255u, manager.ReadProfileString(L"LANSTR", L"STR_LONG", L"", strOut));
    EXPECT_EQ(strLong.substr(0, 255), strOut);

    strOut = L"unchanged";
    EXPECT_EQ(0u, manager.ReadProfileString(L"LANSTR", L"STR_MISSING", L"", strOut));
    EXPECT_EQ(L"unchanged", strOut);
    EXPECT_EQ(0u, manager.ReadProfileString(L"LANSTR", L"STR_EMPTY", L"", strOut));
    EXPECT_EQ(L"unchanged", strOut);
    EXPECT_EQ(0u, manager.ReadProfileString(L"OTHER", L"STR_LONG", L"", strOut));
}

// Run once per UI language by CTest, with LANG set and the expectation in
// the environment; skipped when run by hand without it.
TEST(UiLanguageSelection, StartUpSelectsThePackOfTheUserInterfaceLanguage) {
    const char* pszExpected = getenv("KORVIX_EXPECTED_PACK");
    const char* pszLangId = getenv("KORVIX_EXPECTED_LANGID");
    if (!pszExpected || !pszLangId) {
        GTEST_SKIP() << "set by the per-language CTest entries";
    }
    std::wstring strExpected(pszExpected, pszExpected + strlen(pszExpected));
    ASSERT_EQ(strtoul(pszLangId, nullptr, 16), GetUserDefaultUILanguage());

    ExtractLanguagePacks();
    InitLanguage();

    EXPECT_EQ(PackPath(strExpected.c_str()), g_languagePacks.m_strIniPath);
    for (const ExpectedPack& pack : kExpectedPacks) {
        if (strExpected == pack.pszName) {
            EXPECT_EQ(pack.pszSoftTip, GetLanStr(L"STR_SOFT_TIP"));
        }
    }
    EXPECT_EQ(6u, g_languagePacks.m_vecPacks.size());
}
