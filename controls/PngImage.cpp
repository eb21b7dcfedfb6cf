#include "PngImage.h"

#include <cstring>

namespace {

// GDI+ may read from its stream long after construction, so the image owns
// the stream and the memory block under it. The holder is the first base:
// built before the image, destroyed after it.
class CStreamHolder {
protected:
    CStreamHolder(IStream* pStream, HGLOBAL hBlock) : m_pStream(pStream), m_hBlock(hBlock) {}
    ~CStreamHolder() {
        m_pStream->Release();
        GlobalFree(m_hBlock);
    }
    CStreamHolder(const CStreamHolder&) = delete;
    CStreamHolder& operator=(const CStreamHolder&) = delete;

    IStream* m_pStream;
    HGLOBAL m_hBlock;
};

class CResourceImage : private CStreamHolder, public Gdiplus::Image {
public:
    CResourceImage(IStream* pStream, HGLOBAL hBlock)
        : CStreamHolder(pStream, hBlock), Gdiplus::Image(pStream, FALSE) {}
};

// A resource that is there but will not load or lock is always reported,
// even where the call left no error code.
bool FailReported(DWORD& dwError) {
    dwError = GetLastError();
    if (dwError == 0) {
        dwError = ERROR_RESOURCE_DATA_NOT_FOUND;
    }
    return false;
}

}  // namespace

bool LoadPngImage(UINT nId, LPCWSTR pszType, Gdiplus::Image** ppImage, DWORD& dwError) {
    dwError = 0;
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hInfo = FindResourceW(hModule, MAKEINTRESOURCEW(nId), pszType);
    if (!hInfo) {
        return false;
    }
    DWORD cbImage = SizeofResource(hModule, hInfo);
    HGLOBAL hResource = LoadResource(hModule, hInfo);
    if (!hResource) {
        return FailReported(dwError);
    }
    const void* pBytes = LockResource(hResource);
    if (!pBytes) {
        return FailReported(dwError);
    }
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, cbImage);
    void* pBlock = hBlock ? GlobalLock(hBlock) : nullptr;
    if (!pBlock) {
        if (hBlock) {
            GlobalFree(hBlock);
        }
        return false;
    }
    memcpy(pBlock, pBytes, cbImage);
    GlobalUnlock(hBlock);

    IStream* pStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(hBlock, FALSE, &pStream)) || !pStream) {
        GlobalFree(hBlock);
        return false;
    }
    // The image takes the stream's reference with it.
    // GDI+ objects come from GdipAlloc, which returns null instead of throwing.
    Gdiplus::Image* pImage = new CResourceImage(pStream, hBlock);
    if (!pImage) {
        pStream->Release();
        GlobalFree(hBlock);
        return false;
    }
    *ppImage = pImage;
    return true;
}
