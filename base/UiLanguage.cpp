#include "UiLanguage.h"

namespace {

const UiLanguage kUiLanguages[] = {
    {0x0409, L"English", 0, 42, 100},   // the first: every language not listed
    {0x0410, L"Italian", 3, 12, 130},   //
    {0x040C, L"French", 4, 12, 130},    // French (France)
    {0x0411, L"Japanese", 5, 42, 100},  //
    {0x0407, L"German", 8, 42, 100},    // German (Germany)
    {0x0404, L"ChineseTW", 9, 82, 60},  // Chinese (Traditional, Taiwan)
};

}  // namespace

const UiLanguage& FindUiLanguage(LANGID wLangId) {
    for (const UiLanguage& language : kUiLanguages) {
        if (language.wId == wLangId) {
            return language;
        }
    }
    return kUiLanguages[0];
}
