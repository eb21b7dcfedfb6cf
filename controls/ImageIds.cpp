#include "ImageIds.h"

UINT LocalizedImageOffset(LANGID wLangId) {
    switch (wLangId) {
        case 0x0410:  // Italian
            return 3;
        case 0x040C:  // French (France)
            return 4;
        case 0x0411:  // Japanese
            return 5;
        case 0x0407:  // German (Germany)
            return 8;
        case 0x0404:  // Chinese (Traditional, Taiwan)
            return 9;
        default:  // English and every other id, as the language packs
            return 0;
    }
}

UINT GetLocalizedImageId(UINT nBaseId) {
    return nBaseId + LocalizedImageOffset(GetUserDefaultUILanguage());
}
