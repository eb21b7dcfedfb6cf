#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

// What a skinned control tells a screen reader: its name in the user's
// language, the role the pictures show (check box, link, expander) and the
// state that goes with it. Everything else (place, focus, default action)
// comes from the window's standard accessible object.
struct AccessibleFacts {
    enum Kind { kPlain, kButton, kCheckBox, kLink, kExpander, kProgress };
    std::wstring strName;   // empty: the standard name
    std::wstring strValue;  // empty: the standard value (a bar's: "45%")
    Kind nKind = kPlain;
    bool bOn = false;  // ticked, or expanded
};

// The role and the state bits a control of this kind reports over the
// standard ones (nStandardRole, nStandardState).
long AccessibleRole(const AccessibleFacts& facts, long nStandardRole);
long AccessibleState(const AccessibleFacts& facts, long nStandardState);

// Answers WM_GETOBJECT for hWnd's client object with the facts over the
// standard object; 0 for any other object (DefWindowProc's answer then).
LRESULT AnswerAccessibleObject(HWND hWnd, WPARAM wParam, LPARAM lParam,
                               const AccessibleFacts& facts);
// Tells screen readers that the facts of hWnd changed.
void NotifyAccessibleChange(HWND hWnd, DWORD dwEvent);
