#include "ImageIds.h"

#include "UiLanguage.h"

UINT LocalizedImageOffset(LANGID wLangId) {
    return FindUiLanguage(wLangId).nPictureOffset;
}

UINT GetLocalizedImageId(UINT nBaseId) {
    return nBaseId + LocalizedImageOffset(GetUserDefaultUILanguage());
}
