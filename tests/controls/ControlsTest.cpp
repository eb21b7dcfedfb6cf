#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "AccessibleControl.h"
#include "DownProgressBarCtrl.h"
#include "Drawing.h"
#include "ImageIds.h"
#include "OwnerDrawButton.h"
#include "PngImage.h"
#include "SelectStateButton.h"
#include "TestWindow.h"

namespace {

const UINT kNotAPngId = 9001;  // a resource of type PNG holding text

// A white 32-bit top-down bitmap in a memory DC, read back pixel by pixel.
class CPixels {
public:
    CPixels(int w, int h) : m_nWidth(w) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hDC = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS,
                                     reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        RECT rc = {0, 0, w, h};
        FillRect(m_hDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~CPixels() {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    HDC GetDC() const { return m_hDC; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD v = m_pBits[y * m_nWidth + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int m_nWidth;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kAccent = RGB(64, 136, 255);

// Inside a picture, within the rounding of its anti-aliased artwork.
::testing::AssertionResult NearAccent(COLORREF c) {
    int d = abs(GetRValue(c) - 64) + abs(GetGValue(c) - 136) + abs(GetBValue(c) - 255);
    if (d <= 6) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "colour " << std::hex << c << " is not the accent";
}

}  // namespace

// What a screen reader hears of a skinned control: the role its pictures
// show, and only the state that goes with it (the standard object of an
// owner-drawn button knows nothing of a tick or an open strip).
TEST(AccessibleFacts, RoleAndStateFollowWhatThePicturesShow) {
    const long kFocus = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
    const struct {
        AccessibleFacts::Kind nKind;
        bool bOn;
        long nStandardState;
        long nRole;
        long nState;
    } kCases[] = {
        {AccessibleFacts::kCheckBox, false, kFocus | STATE_SYSTEM_CHECKED, ROLE_SYSTEM_CHECKBUTTON,
         kFocus},
        {AccessibleFacts::kCheckBox, true, kFocus, ROLE_SYSTEM_CHECKBUTTON,
         kFocus | STATE_SYSTEM_CHECKED},
        {AccessibleFacts::kExpander, false, kFocus | STATE_SYSTEM_EXPANDED,
         ROLE_SYSTEM_BUTTONDROPDOWN, kFocus | STATE_SYSTEM_COLLAPSED},
        {AccessibleFacts::kExpander, true, kFocus, ROLE_SYSTEM_BUTTONDROPDOWN,
         kFocus | STATE_SYSTEM_EXPANDED},
        {AccessibleFacts::kLink, false, kFocus | STATE_SYSTEM_PRESSED, ROLE_SYSTEM_LINK,
         kFocus | STATE_SYSTEM_LINKED},
        {AccessibleFacts::kButton, false, STATE_SYSTEM_FOCUSABLE, ROLE_SYSTEM_PUSHBUTTON,
         STATE_SYSTEM_FOCUSABLE},
        {AccessibleFacts::kProgress, false, STATE_SYSTEM_READONLY, ROLE_SYSTEM_PROGRESSBAR,
         STATE_SYSTEM_READONLY},
        {AccessibleFacts::kPlain, false, STATE_SYSTEM_CHECKED, ROLE_SYSTEM_TEXT,
         STATE_SYSTEM_CHECKED},
    };
    for (const auto& c : kCases) {
        AccessibleFacts facts;
        facts.nKind = c.nKind;
        facts.bOn = c.bOn;
        EXPECT_EQ(c.nRole, AccessibleRole(facts, ROLE_SYSTEM_TEXT)) << c.nKind;
        EXPECT_EQ(c.nState, AccessibleState(facts, c.nStandardState)) << c.nKind << " " << c.bOn;
    }
}

TEST(LocalizedImageId, ExactLanguageIdsPickTheirVariantOthersEnglish) {
    struct {
        LANGID wLang;
        UINT nBrowse;  // variant of the browse button, base 263
    } const cases[] = {
        {0x0409, 263}, {0x0410, 266}, {0x040C, 267}, {0x0411, 268}, {0x0407, 271},
        {0x0404, 272}, {0x0804, 263}, {0x0C0C, 263}, {0x0807, 263}, {0x0000, 263},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.nBrowse, 263 + LocalizedImageOffset(c.wLang)) << std::hex << c.wLang;
    }
    EXPECT_EQ(263 + LocalizedImageOffset(GetUserDefaultUILanguage()), GetLocalizedImageId(263));
}

TEST(PngImage, EveryPictureIsThereAtItsSizeInEveryLanguage) {
    struct Kind {
        UINT nId;
        UINT w, h;
    };
    const Kind fixed[] = {{213, 108, 32}, {214, 235, 52}, {207, 323, 32},
                          {239, 20, 20},  {240, 20, 20},  {243, 20, 20},
                          {244, 20, 20},  {215, 14, 14},  {202, 14, 14}};
    const Kind localized[] = {{263, 90, 32},  {273, 90, 32},   {283, 180, 12},  {293, 180, 12},
                              {303, 57, 26},  {313, 57, 26},   {323, 168, 46},  {333, 168, 46},
                              {343, 168, 46}, {353, 650, 290}, {363, 650, 290}, {373, 650, 290},
                              {383, 390, 15}, {393, 168, 46},  {403, 168, 46},  {413, 168, 46}};
    std::vector<Kind> all(std::begin(fixed), std::end(fixed));
    for (const Kind& k : localized) {
        for (UINT nOffset : {0u, 3u, 4u, 5u, 8u, 9u}) {
            all.push_back({k.nId + nOffset, k.w, k.h});
        }
    }
    ASSERT_EQ(105u, all.size());
    for (const Kind& k : all) {
        for (UINT nScale : {1u, 2u}) {  // and the large set at twice the size
            const UINT nId = nScale == 1 ? k.nId : k.nId + kLargeImageOffset;
            Gdiplus::Image* pImage = nullptr;
            DWORD dwLoadError = 0;
            ASSERT_TRUE(LoadPngImage(nId, L"PNG", &pImage, dwLoadError)) << nId;
            std::unique_ptr<Gdiplus::Image> holder(pImage);
            EXPECT_EQ(Gdiplus::Ok, pImage->GetLastStatus()) << nId;
            EXPECT_EQ(k.w * nScale, pImage->GetWidth()) << nId;
            EXPECT_EQ(k.h * nScale, pImage->GetHeight()) << nId;
        }
    }
}

TEST(PngImage, MissingResourceFailsSilentlyAndLeavesTheOutputAlone) {
    Gdiplus::Image* pImage = reinterpret_cast<Gdiplus::Image*>(0x1);
    for (UINT nId : {201u, 264u, 265u, 269u, 423u}) {  // gaps of the id scheme
        DWORD dwError = ERROR_GEN_FAILURE;
        EXPECT_FALSE(LoadPngImage(nId, L"PNG", &pImage, dwError)) << nId;
        EXPECT_EQ(0u, dwError) << nId;
    }
    EXPECT_EQ(reinterpret_cast<Gdiplus::Image*>(0x1), pImage);
}

TEST(PngImage, UndecodableResourceLoadsButDrawsNothingAndPaintingGoesOn) {
    Gdiplus::Image* pImage = nullptr;
    DWORD dwLoadError = 0;
    ASSERT_TRUE(LoadPngImage(kNotAPngId, L"PNG", &pImage, dwLoadError));
    std::unique_ptr<Gdiplus::Image> holder(pImage);
    EXPECT_NE(Gdiplus::Ok, pImage->GetLastStatus());

    CPixels pixels(20, 20);
    {
        Gdiplus::Graphics graphics(pixels.GetDC());
        DrawImage(graphics, pImage, 0, 0, 20, 20);
        DrawImage(graphics, nullptr, 0, 0, 20, 20);
        FillRectangle(graphics, Gdiplus::Color::MakeARGB(255, 64, 136, 255), 10, 10, 5, 5);
    }
    EXPECT_EQ(kWhite, pixels.At(2, 2));
    EXPECT_EQ(kAccent, pixels.At(12, 12));
}

TEST(PngImage, ImageStaysDrawableAfterTheLoaderReturned) {
    Gdiplus::Image* pImage = nullptr;
    DWORD dwLoadError = 0;
    ASSERT_TRUE(LoadPngImage(202, L"PNG", &pImage, dwLoadError));  // ticked box, accent fill
    std::unique_ptr<Gdiplus::Image> holder(pImage);
    // Churn the heap the loader's block came from before the first draw.
    for (int i = 0; i < 200; ++i) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4096);
        memset(GlobalLock(h), 0xCD, 4096);
        GlobalUnlock(h);
        GlobalFree(h);
    }
    CPixels pixels(14, 14);
    {
        Gdiplus::Graphics graphics(pixels.GetDC());
        DrawImage(graphics, pImage, 0, 0, 14, 14);
    }
    EXPECT_TRUE(NearAccent(pixels.At(1, 7)));
}

TEST(Drawing, FillsOutlinesAndEmptyRectangles) {
    CPixels pixels(40, 40);
    {
        Gdiplus::Graphics graphics(pixels.GetDC());
        FillRectangle(graphics, Gdiplus::Color::MakeARGB(255, 224, 224, 224), 0, 0, 10, 1);
        FillRectangle(graphics, Gdiplus::Color::MakeARGB(255, 255, 0, 0), 5, 5, 0, 10);
        FillRectangle(graphics, Gdiplus::Color::MakeARGB(255, 255, 0, 0), 5, 5, 10, 0);
        FrameRectangle(graphics, Gdiplus::Color::MakeARGB(255, 204, 204, 204), RECT{20, 20, 30, 30},
                       1);
        FrameRectangle(graphics, Gdiplus::Color::MakeARGB(255, 204, 204, 204), RECT{10, 10, 16, 16},
                       2);
    }
    RECT rc = {0, 30, 8, 34};
    GdiFill(pixels.GetDC(), rc, 0xFF8840);

    EXPECT_EQ(RGB(224, 224, 224), pixels.At(9, 0));  // hairline: one row, ten columns
    EXPECT_EQ(kWhite, pixels.At(10, 0));
    EXPECT_EQ(kWhite, pixels.At(9, 1));
    EXPECT_EQ(kWhite, pixels.At(7, 7));  // zero width or height: nothing
    // A frame lies inside its rectangle: one pixel, or two at twice the scale.
    EXPECT_EQ(RGB(204, 204, 204), pixels.At(20, 20));
    EXPECT_EQ(RGB(204, 204, 204), pixels.At(29, 29));
    EXPECT_EQ(kWhite, pixels.At(30, 29));
    EXPECT_EQ(kWhite, pixels.At(25, 25));
    EXPECT_EQ(RGB(204, 204, 204), pixels.At(11, 11));
    EXPECT_EQ(RGB(204, 204, 204), pixels.At(14, 14));
    EXPECT_EQ(kWhite, pixels.At(12, 12));
    EXPECT_EQ(kWhite, pixels.At(16, 16));
    EXPECT_EQ(kAccent, pixels.At(7, 33));
    EXPECT_EQ(kWhite, pixels.At(8, 33));
}

TEST(ProgressBar, FillRightIsPositionTimesWidthOverRangeTruncated) {
    struct {
        int nWidth, nLow, nHigh, nPos, nRight;
    } const cases[] = {
        {470, 0, 100, 0, 0},     {470, 0, 100, 33, 155},  {470, 0, 100, 50, 235},
        {470, 0, 100, 99, 465},  {470, 0, 100, 100, 470}, {470, 0, 100, 1, 4},
        {470, 50, 50, 30, 0},     // empty range: track only
        {470, 10, 110, 50, 235},  // the position is not reduced by low
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.nRight, ProgressFillRight(c.nWidth, c.nLow, c.nHigh, c.nPos))
            << c.nLow << ".." << c.nHigh << " at " << c.nPos;
    }
}

TEST(SelectStateButton, PressTogglesFirstThenNotifiesAndNullNotifyKeepsTheOld) {
    CTestWindow window(0, 0, 100, 40, L"select-state");
    HWND hButton = window.AddChild(L"BUTTON", 1003, BS_OWNERDRAW | WS_TABSTOP, WS_EX_TRANSPARENT,
                                   10, 10, 14, 14);
    CSelectStateButton button;
    button.SetImages(window.m_hWnd, {});
    button.SetImages(nullptr, {});  // keeps the dialog as notify window
    ASSERT_TRUE(button.SubclassWindow(hButton));

    int nStateSeen = -1;
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    nStateSeen = button.GetSelectState();
    SendMessageW(hButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(1, nStateSeen);
    EXPECT_EQ(0, button.GetSelectState());
    ASSERT_EQ(2u, window.m_vecCommands.size());  // one per press, none for the release
    EXPECT_EQ(MAKEWPARAM(1003, BN_CLICKED), window.m_vecCommands[0]);

    // A double-click is two presses; Space and Enter press it too, once
    // however long they are held. Every report is a click.
    SendMessageW(hButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageW(hButton, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(hButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(1, button.GetSelectState());
    SendMessageW(hButton, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(hButton, WM_KEYDOWN, VK_SPACE, 1 | (KF_REPEAT << 16));
    SendMessageW(hButton, WM_KEYUP, VK_SPACE, 1 | (KF_UP << 16) | (KF_REPEAT << 16));
    EXPECT_EQ(0, button.GetSelectState());
    SendMessageW(hButton, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(1, button.GetSelectState());
    EXPECT_EQ(std::vector<WPARAM>(5, MAKEWPARAM(1003, BN_CLICKED)), window.m_vecCommands);
    MSG enter = {hButton, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(SendMessageW(hButton, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTMESSAGE)
        << "the dialog would keep Enter to itself";

    // Over either picture button the pointer is the hand.
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    EXPECT_EQ(TRUE, SendMessageW(hButton, WM_SETCURSOR, reinterpret_cast<WPARAM>(hButton),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)), GetCursor());
}

TEST(OwnerDrawButton, NullNotifyClearsAndEachStateDrawsOnlyItsOwnPicture) {
    CTestWindow window(0, 0, 100, 40, L"owner-draw");
    HWND hButton = window.AddChild(L"BUTTON", 1002, BS_OWNERDRAW | WS_TABSTOP, 0, 0, 0, 14, 14);
    Gdiplus::Image* pTicked = nullptr;  // accent at (1, 7)
    DWORD dwLoadError = 0;
    ASSERT_TRUE(LoadPngImage(202, L"PNG", &pTicked, dwLoadError));
    std::unique_ptr<Gdiplus::Image> holder(pTicked);

    COwnerDrawButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));
    auto draw = [&](CPixels& pixels, UINT nItemState) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = nItemState;
        dis.hwndItem = hButton;
        dis.hDC = pixels.GetDC();
        dis.rcItem = {0, 0, 14, 14};
        SendMessageW(window.m_hWnd, WM_DRAWITEM, 1002, reinterpret_cast<LPARAM>(&dis));
    };
    auto drawnAt = [&](int nState) {
        button.m_nState = nState;
        CPixels pixels(14, 14);
        draw(pixels, 0);
        return pixels.At(1, 7);
    };
    // The top row and the left column: where the focus cue goes.
    auto edgeOf = [&](UINT nItemState) {
        CPixels pixels(14, 14);
        draw(pixels, nItemState);
        std::vector<COLORREF> vecEdge;
        for (int i = 0; i < 14; ++i) {
            vecEdge.push_back(pixels.At(i, 0));
            vecEdge.push_back(pixels.At(0, i));
        }
        return vecEdge;
    };

    // [a, null, a]: normal and pressed show a; hover has no picture and no fallback.
    button.SetImages(window.m_hWnd, {pTicked, nullptr, pTicked});
    EXPECT_TRUE(NearAccent(drawnAt(0)));
    EXPECT_EQ(kWhite, drawnAt(1));
    EXPECT_TRUE(NearAccent(drawnAt(2)));
    button.SetImages(window.m_hWnd, {pTicked});  // too short for the pressed state
    EXPECT_EQ(kWhite, drawnAt(2));
    RECT rcExpected = {0, 0, 14, 14};
    EXPECT_TRUE(EqualRect(&rcExpected, &button.m_rcItem));

    // The focus cue, over the picture, only once the keyboard is in use.
    button.m_nState = 0;
    EXPECT_EQ(edgeOf(0), edgeOf(ODS_FOCUS)) << "a cue before any key was used";
    SendMessageW(hButton, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_NE(edgeOf(0), edgeOf(ODS_FOCUS)) << "no cue while the keyboard is in use";
    SendMessageW(hButton, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_EQ(edgeOf(0), edgeOf(ODS_FOCUS)) << "the cue stayed after the mouse took over";

    button.m_nState = 0;
    button.SetImages(nullptr, {});  // clears the notify window: the click is lost
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(hButton, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(window.m_vecCommands.empty());
    EXPECT_EQ(1, button.m_nState);  // released: hover until the pointer leaves

    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    EXPECT_EQ(TRUE, SendMessageW(hButton, WM_SETCURSOR, reinterpret_cast<WPARAM>(hButton),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)), GetCursor());
}

// One click per click: a double-click is one more click, Space clicks on its
// release (unless the focus went first) and Enter on its press, once however
// long they are held; never another kind of report.
TEST(OwnerDrawButton, EveryClickReportsOnceWhateverMadeIt) {
    CTestWindow window(0, 0, 100, 40, L"owner-draw-clicks");
    HWND hButton = window.AddChild(L"BUTTON", 1004, BS_OWNERDRAW | WS_TABSTOP, 0, 0, 0, 14, 14);
    COwnerDrawButton button;
    button.SetImages(window.m_hWnd, {});
    ASSERT_TRUE(button.SubclassWindow(hButton));
    struct Input {
        UINT uMsg;
        WPARAM wKey;
        bool bRepeat;
    };
    auto clicksOf = [&](std::initializer_list<Input> inputs) {
        window.m_vecCommands.clear();
        for (const Input& in : inputs) {
            SendMessageW(hButton, in.uMsg, in.wKey, 1 | (in.bRepeat ? KF_REPEAT << 16 : 0));
        }
        return window.m_vecCommands.size();
    };
    EXPECT_EQ(2u, clicksOf({{WM_LBUTTONDOWN, 0, false},
                            {WM_LBUTTONUP, 0, false},
                            {WM_LBUTTONDBLCLK, 0, false},
                            {WM_LBUTTONUP, 0, false}}));
    EXPECT_EQ(std::vector<WPARAM>(2, MAKEWPARAM(1004, BN_CLICKED)), window.m_vecCommands);
    EXPECT_EQ(0u, clicksOf({{WM_KEYDOWN, VK_SPACE, false}, {WM_KEYDOWN, VK_SPACE, true}}));
    EXPECT_EQ(1u, clicksOf({{WM_KEYUP, VK_SPACE, true}}));
    EXPECT_EQ(0u, clicksOf({{WM_KEYUP, VK_SPACE, true}})) << "a release without its press";
    EXPECT_EQ(0u, clicksOf({{WM_KEYDOWN, VK_SPACE, false},
                            {WM_KILLFOCUS, 0, false},
                            {WM_KEYUP, VK_SPACE, false}}))
        << "Space released after the focus had gone";
    EXPECT_EQ(1u, clicksOf({{WM_KEYDOWN, VK_RETURN, false}, {WM_KEYDOWN, VK_RETURN, true}}));
    EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(1004, BN_CLICKED)}, window.m_vecCommands);
}

// A button whose click destroys it paints nothing afterwards: nothing else on
// the desktop is invalidated (the API reads a null window as every window).
TEST(OwnerDrawButton, DestroyedInItsOwnClickRepaintsNothing) {
    CTestWindow bystander(200, 0, 50, 50, L"bystander");
    CTestWindow window(0, 0, 100, 40, L"owner-draw-destroyed");
    HWND hButton = window.AddChild(L"BUTTON", 1005, BS_OWNERDRAW, 0, 0, 0, 14, 14);
    COwnerDrawButton button;
    button.SetImages(window.m_hWnd, {});
    ASSERT_TRUE(button.SubclassWindow(hButton));
    window.m_onCommand = [&](WPARAM) { DestroyWindow(hButton); };
    CTestWindow::Pump();
    ValidateRect(bystander.m_hWnd, nullptr);
    SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(hButton, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(IsWindow(hButton));
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_FALSE(GetUpdateRect(bystander.m_hWnd, nullptr, FALSE));
}

int main(int argc, char** argv) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    int nResult = RUN_ALL_TESTS();
    Gdiplus::GdiplusShutdown(token);
    return nResult;
}
