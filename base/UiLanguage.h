#pragma once

#include <windows.h>

// One user-interface language the program speaks: its pack, the offset of
// its pictures from their base ids, and where the install-path label starts
// on the options strip (x and width at 96 DPI; the label ends where the path
// box begins, and the longer labels start further left).
struct UiLanguage {
    LANGID wId;
    const wchar_t* pszPack;  // the pack's name ("German": German.ini)
    UINT nPictureOffset;
    int nPathLabelX;
    int nPathLabelWidth;
};

// The language of an interface language id. Exact ids only: Swiss German,
// Canadian French, Simplified Chinese and every other variant get English.
const UiLanguage& FindUiLanguage(LANGID wLangId);
