#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Helpers of the install-road scenarios: the bench hands paths and facts over
// in environment variables; logs are read through Wine's Z: drive.

std::string EnvA(const char* pszName);
std::wstring EnvW(const char* pszName);
// The Windows form of a Unix path under Wine ("/tmp/x" -> "Z:\tmp\x").
std::wstring WinePath(const std::string& strUnixPath);
std::string ReadWholeFile(const std::wstring& strPath);
std::vector<std::string> ReadLines(const std::wstring& strPath);
bool FileExists(const std::wstring& strPath);
// The raw value after "name": in one JSON line of the fault server's log.
std::string JsonField(const std::string& strLine, const std::string& strName);
// key=value lines of the fake installer's and product's records.
std::string RecordValue(const std::string& strRecord, const std::string& strKey);
std::string Utf8(const std::wstring& str);
// Reserves all the address space a 32-bit process can get, biggest pieces
// first, then gives back about nLeave bytes, so that the process can still
// run but no large allocation fits. Kept until the process ends.
void TakeAddressSpace(SIZE_T nLeave);

// Answers the message boxes the dialog opens, from a thread of its own
// (the box runs its own modal loop inside a handler), and keeps their texts.
class CBoxAnswerer {
public:
    CBoxAnswerer(HWND hOwner, int nAnswer);
    ~CBoxAnswerer();
    std::vector<std::wstring> Texts();
    std::vector<std::wstring> Captions();
    std::vector<UINT> Buttons();  // how many buttons each box had

private:
    void Run();

    HWND m_hOwner;
    int m_nAnswer;
    std::atomic<bool> m_bStop{false};
    CRITICAL_SECTION m_lock;
    std::vector<std::wstring> m_vecTexts;
    std::vector<std::wstring> m_vecCaptions;
    std::vector<UINT> m_vecButtons;
    std::thread m_thread;
};
