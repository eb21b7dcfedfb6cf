#include "RoadTestSupport.h"

#include <utility>

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string EnvA(const char* pszName) {
    const char* psz = getenv(pszName);
    return psz ? psz : "";
}

std::wstring EnvW(const char* pszName) {
    std::string str = EnvA(pszName);
    int n = MultiByteToWideChar(CP_UTF8, 0, str.c_str(), -1, nullptr, 0);
    std::wstring strOut(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, str.c_str(), -1, &strOut[0], n);
    strOut.resize(wcslen(strOut.c_str()));
    return strOut;
}

std::string Utf8(const std::wstring& str) {
    int n = WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string strOut(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.c_str(), -1, &strOut[0], n, nullptr, nullptr);
    strOut.resize(strlen(strOut.c_str()));
    return strOut;
}

std::wstring WinePath(const std::string& strUnixPath) {
    std::wstring str = L"Z:";
    for (char c : strUnixPath) {
        str.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return str;
}

std::string ReadWholeFile(const std::wstring& strPath) {
    std::ifstream in(strPath.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> ReadLines(const std::wstring& strPath) {
    std::vector<std::string> vecLines;
    std::istringstream in(ReadWholeFile(strPath));
    std::string strLine;
    while (std::getline(in, strLine)) {
        vecLines.push_back(strLine);
    }
    return vecLines;
}

bool FileExists(const std::wstring& strPath) {
    return GetFileAttributesW(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string JsonField(const std::string& strLine, const std::string& strName) {
    std::string strKey = "\"" + strName + "\": ";
    size_t nStart = strLine.find(strKey);
    if (nStart == std::string::npos) {
        return "";
    }
    nStart += strKey.size();
    size_t nEnd = strLine.find_first_of(",}", nStart);
    if (strLine[nStart] == '[') {
        nEnd = strLine.find(']', nStart) + 1;
    }
    std::string strValue = strLine.substr(nStart, nEnd - nStart);
    if (strValue.size() >= 2 && strValue.front() == '"') {
        strValue = strValue.substr(1, strValue.size() - 2);
    }
    return strValue;
}

std::string RecordValue(const std::string& strRecord, const std::string& strKey) {
    std::istringstream in(strRecord);
    std::string strLine;
    while (std::getline(in, strLine)) {
        if (strLine.compare(0, strKey.size() + 1, strKey + "=") == 0) {
            return strLine.substr(strKey.size() + 1);
        }
    }
    return "";
}

CBoxAnswerer::CBoxAnswerer(HWND hOwner, int nAnswer) : m_hOwner(hOwner), m_nAnswer(nAnswer) {
    InitializeCriticalSection(&m_lock);
    m_thread = std::thread([this] { Run(); });
}

CBoxAnswerer::~CBoxAnswerer() {
    m_bStop = true;
    m_thread.join();
    DeleteCriticalSection(&m_lock);
}

namespace {

struct BoxSearch {
    HWND hOwner;
    HWND hBox;
};

BOOL CALLBACK FindOwnedBox(HWND hWnd, LPARAM lParam) {
    BoxSearch* pSearch = reinterpret_cast<BoxSearch*>(lParam);
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (wcscmp(szClass, L"#32770") == 0 && IsWindowVisible(hWnd) &&
        GetWindow(hWnd, GW_OWNER) == pSearch->hOwner) {
        pSearch->hBox = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void CBoxAnswerer::Run() {
    while (!m_bStop) {
        BoxSearch search = {m_hOwner, nullptr};
        EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        if (search.hBox) {
            wchar_t szText[1024] = {};
            GetDlgItemTextW(search.hBox, 0xFFFF, szText, 1024);
            wchar_t szCaption[256] = {};
            GetWindowTextW(search.hBox, szCaption, 256);
            UINT nButtons = 0;
            for (int nId : {IDOK, IDCANCEL, IDYES, IDNO}) {
                if (GetDlgItem(search.hBox, nId)) {
                    ++nButtons;
                }
            }
            EnterCriticalSection(&m_lock);
            m_vecTexts.push_back(szText);
            m_vecCaptions.push_back(szCaption);
            m_vecButtons.push_back(nButtons);
            LeaveCriticalSection(&m_lock);
            PostMessageW(search.hBox, WM_COMMAND, MAKEWPARAM(m_nAnswer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.hBox, m_nAnswer)));
            // Wait until that box is gone before looking for the next one.
            for (int i = 0; i < 200 && IsWindow(search.hBox) && IsWindowVisible(search.hBox); ++i) {
                Sleep(10);
            }
        }
        Sleep(20);
    }
}

std::vector<std::wstring> CBoxAnswerer::Texts() {
    EnterCriticalSection(&m_lock);
    std::vector<std::wstring> vec = m_vecTexts;
    LeaveCriticalSection(&m_lock);
    return vec;
}

std::vector<std::wstring> CBoxAnswerer::Captions() {
    EnterCriticalSection(&m_lock);
    std::vector<std::wstring> vec = m_vecCaptions;
    LeaveCriticalSection(&m_lock);
    return vec;
}

std::vector<UINT> CBoxAnswerer::Buttons() {
    EnterCriticalSection(&m_lock);
    std::vector<UINT> vec = m_vecButtons;
    LeaveCriticalSection(&m_lock);
    return vec;
}

void TakeAddressSpace(SIZE_T nLeave) {
    std::vector<std::pair<void*, SIZE_T>> vecTaken;
    for (SIZE_T nPiece = static_cast<SIZE_T>(1) << 30; nPiece >= (1u << 20);) {
        void* p = VirtualAlloc(nullptr, nPiece, MEM_RESERVE, PAGE_NOACCESS);
        if (p) {
            vecTaken.emplace_back(p, nPiece);
        } else {
            nPiece /= 2;
        }
    }
    // The smallest pieces go back: room for threads and small allocations.
    SIZE_T nGiven = 0;
    while (nGiven < nLeave && !vecTaken.empty()) {
        VirtualFree(vecTaken.back().first, 0, MEM_RELEASE);
        nGiven += vecTaken.back().second;
        vecTaken.pop_back();
    }
}
