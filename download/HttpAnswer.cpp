#include "HttpAnswer.h"

#include <climits>
#include <cwchar>

namespace {

// Reads decimal digits at p into nValue; false on no digit or overflow of
// 2^31 - 1. Leaves p after the digits.
bool ReadNumber(const wchar_t*& p, unsigned long long& nValue) {
    nValue = 0;
    const wchar_t* pStart = p;
    while (*p >= L'0' && *p <= L'9') {
        nValue = nValue * 10 + static_cast<unsigned>(*p - L'0');
        if (nValue > static_cast<unsigned long long>(INT_MAX)) {
            return false;
        }
        ++p;
    }
    return p != pStart;
}

bool IsRequestedRange(const wchar_t* pszContentRange, DWORD nFirst, DWORD nLast, DWORD nTotal) {
    const wchar_t* p = pszContentRange;
    if (wcsncmp(p, L"bytes ", 6) != 0) {
        return false;
    }
    p += 6;
    unsigned long long nGotFirst = 0;
    unsigned long long nGotLast = 0;
    unsigned long long nGotTotal = 0;
    if (!ReadNumber(p, nGotFirst) || *p++ != L'-' || !ReadNumber(p, nGotLast) || *p++ != L'/') {
        return false;
    }
    if (*p == L'*') {
        ++p;
    } else if (!ReadNumber(p, nGotTotal) || nGotTotal != nTotal) {
        return false;
    }
    return *p == L'\0' && nGotFirst == nFirst && nGotLast == nLast;
}

bool ParseContentLength(const wchar_t* pszText, DWORD& nLength) {
    const wchar_t* p = pszText;
    unsigned long long nValue = 0;
    if (!ReadNumber(p, nValue) || *p != L'\0' || !IsPlannableSize(static_cast<DWORD>(nValue))) {
        return false;
    }
    nLength = static_cast<DWORD>(nValue);
    return true;
}

}  // namespace

bool IsPlannableSize(DWORD nSize) {
    return nSize >= 1 && nSize <= static_cast<DWORD>(INT_MAX);
}

bool JudgeSizeReply(DWORD nStatus, const wchar_t* pszContentLength, DWORD& nSize) {
    return nStatus >= 200 && nStatus <= 299 && ParseContentLength(pszContentLength, nSize);
}

bool JudgeRangeReply(DWORD nStatus, const wchar_t* pszContentRange, DWORD nFirst, DWORD nLast,
                     DWORD nTotal) {
    return nStatus == 206 && IsRequestedRange(pszContentRange, nFirst, nLast, nTotal);
}

ReadVerdict JudgeRead(DWORD nRead, DWORD nLeft) {
    if (nRead == 0) {
        return ReadVerdict::kEndedEarly;
    }
    return nRead > nLeft ? ReadVerdict::kTooLong : ReadVerdict::kStore;
}
