// Popup menu windows wearing the skin's MenuBackground: the frame and background from small
// skins of other sizes and from the program's skin, the border kept free of the items when
// printed, the system look without a usable element or while a skin loads, skinning switched
// off while a menu is open, the erase switch, and the handle balance of many openings.
//
// An open menu runs its own message loop inside TrackPopupMenu: what is done while it is open
// runs from a timer, each time only once its condition holds.
#include "HandleCounter.h"
#include "SkinDraw.h"
#include "SkinTestImages.h"
#include "WatchTestSupport.h"

#include <gtest/gtest.h>

using namespace watchtest;
using skinformtest::PumpPending;
using skinformtest::SmallSkinFile;
using skinformtest::TSmallSkinOptions;
using skinformtest::TTestWindow;
using skintest::ColorOf;
using skintest::LetterOf;
using TMenuBack = TSmallSkinOptions::TMenuBack;

namespace {

std::vector<std::uint8_t> MenuSkin(TMenuBack back) {
    TSmallSkinOptions options;
    options.Menus = true;
    options.MenuBack = back;
    return SmallSkinFile(options);
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y) {
    return GetPixel(bitmap.Canvas()->Handle(), x, y) & 0xFFFFFF;
}

// What the window prints of itself over magenta.
std::unique_ptr<TBitmap> Printed(HWND wnd) {
    const SIZE size = skinformtest::WindowSize(wnd);
    auto surface = skintest::Surface(size.cx, size.cy, ColorOf('M'));
    SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(surface->Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    return surface;
}

// The first pixel where two pictures of the same size differ, as text; empty when none does.
std::string FirstDifference(TBitmap& a, TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (PixelOf(a, x, y) != PixelOf(b, x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return {};
}

// Points of the border ring of a w x h picture, depth pixels in from each side.
std::vector<POINT> RingPoints(int w, int h, int depth) {
    return {{depth, h / 2},         {w - 1 - depth, h / 2}, {w / 2, depth},
            {w / 2, h - 1 - depth}, {depth, depth},         {w - 1 - depth, h - 1 - depth}};
}

class SkinPopMenu : public WatchTest {
protected:
    void Start(const std::vector<std::uint8_t>& file) {
        FSkin = &AddSkin(sfMainform, file);
        FForm = ShownForm("popups");
        ASSERT_TRUE(WaitSkinned(FForm->Handle()));
    }
    void TearDown() override {
        FForm.reset();
        WatchTest::TearDown();
    }
    void Reload(const std::vector<std::uint8_t>& file) {
        FSkin->SkinFileStream().Clear();
        FSkin->SkinFileStream().Write(file.data(), static_cast<std::int64_t>(file.size()));
        ASSERT_TRUE(FSkin->LoadSkinFromStream());
    }
    // The skinning object of the open menu window, or nullptr.
    TWinSkinPopMenu* Skinner(HWND popup) {
        for (const auto& p : Watcher().Popups())
            if (p->MenuWnd() == popup)
                return p.get();
        return nullptr;
    }
    // What the menu's own procedure prints: skinning off for the moment.
    std::unique_ptr<TBitmap> PrintedBySystem(HWND popup) {
        Watcher().SetActive(false);
        auto printed = Printed(popup);
        Watcher().SetActive(true);
        return printed;
    }
    // Opens a context menu on the form; step runs from a timer with its window (once the
    // watcher holds its skinning object) until it returns true. False when it never did.
    bool WhileOpen(const std::function<bool(HWND)>& step, UINT intervalMs = 30) {
        TMenuHandle menu(CreatePopupMenu());
        AppendMenuA(menu.Get(), MF_STRING, 1, "First item");
        AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu.Get(), MF_STRING, 2, "Second item");
        TModalDriver driver(
            [&] {
                HWND popup = ThreadWindowOfClass("#32768");
                if (!popup || !Skinner(popup) || !step(popup))
                    return false;
                EndMenu();
                return true;
            },
            [] { EndMenu(); }, 8000, intervalMs);
        Watcher().SetMenuKind(mkPopup);
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD, 120, 110, 0, FForm->Handle(), nullptr);
        PumpPending();
        return !driver.GaveUp();
    }

    TSkinData* FSkin = nullptr;
    FormPtr FForm;
};

TEST_F(SkinPopMenu, FrameAndBackgroundComeFromTheElementAndTheBorderStaysFreeOfItemsWhenPrinted) {
    Start(MenuSkin(TMenuBack::Plain));
    struct TCase {
        const char* Name;
        TMenuBack Back;
        char Frame;  // the outer three pixels
        char Centre; // the middle of the prepared background
    };
    for (const TCase& c : {TCase{"4 x 4, no margins", TMenuBack::Plain, 'O', 'O'},
                           TCase{"12 x 12, margins 5", TMenuBack::Framed, 'N', 'T'}}) {
        SCOPED_TRACE(c.Name);
        Reload(MenuSkin(c.Back));
        ASSERT_TRUE(WhileOpen([&](HWND popup) {
            const SIZE size = skinformtest::WindowSize(popup);
            auto printed = Printed(popup);
            auto own = PrintedBySystem(popup);
            for (int depth = 0; depth < TWinSkinPopMenu::BorderWidth; ++depth)
                for (const POINT& p : RingPoints(size.cx, size.cy, depth))
                    EXPECT_EQ(c.Frame, LetterOf(PixelOf(*printed, p.x, p.y))) << p.x << ", " << p.y;
            // Inside the border the menu's own drawing, whatever the margins.
            for (const POINT& p : RingPoints(size.cx, size.cy, TWinSkinPopMenu::BorderWidth))
                EXPECT_EQ(PixelOf(*own, p.x, p.y), PixelOf(*printed, p.x, p.y)) << p.x << ", " << p.y;
            // The picture the item painting copies from, at the window's size.
            TBitmap& background = Skinner(popup)->Background();
            EXPECT_EQ(size.cx, background.Width());
            EXPECT_EQ(size.cy, background.Height());
            EXPECT_EQ(c.Frame, LetterOf(PixelOf(background, 4, size.cy / 2)));
            EXPECT_EQ(c.Centre, LetterOf(PixelOf(background, size.cx / 2, size.cy / 2)));
            return true;
        }));
    }
}

TEST_F(SkinPopMenu, TheProgramSkinsBackgroundFramesTheMenuOnScreenAndInPrint) {
    Start(skinformtest::ProgramSkinFile());
    const TDataSkinObject* element = FSkin->Elements().MenuBackground.get();
    ASSERT_TRUE(element && !element->Bitmap.Empty());
    ASSERT_TRUE(WhileOpen([&](HWND popup) {
        const SIZE size = skinformtest::WindowSize(popup);
        TBitmap& image = const_cast<TBitmap&>(element->Bitmap);
        const auto expected = BuildSkinBitmap(TRect{0, 0, size.cx, size.cy}, image, element->Margins(), false,
                                              element->Tile == 1, 1, 1);
        TWindowDC screen(popup, true);
        for (const POINT& p : RingPoints(size.cx, size.cy, 1))
            if ((GetPixel(screen.Get(), p.x, p.y) & 0xFFFFFF) != PixelOf(*expected, p.x, p.y))
                return false; // not painted yet
        auto printed = Printed(popup);
        for (int depth = 0; depth < TWinSkinPopMenu::BorderWidth; ++depth)
            for (const POINT& p : RingPoints(size.cx, size.cy, depth))
                EXPECT_EQ(PixelOf(*expected, p.x, p.y), PixelOf(*printed, p.x, p.y)) << p.x << ", " << p.y;
        // The corners are the image's own, never stretched.
        EXPECT_EQ(PixelOf(image, 0, 0), PixelOf(*printed, 0, 0));
        EXPECT_EQ(PixelOf(image, image.Width() - 1, image.Height() - 1),
                  PixelOf(*printed, size.cx - 1, size.cy - 1));
        return true;
    })) << "the border never showed the skin";
}

TEST_F(SkinPopMenu, WithoutAUsableElementOrWhileASkinLoadsTheMenuKeepsTheSystemLook) {
    Start(MenuSkin(TMenuBack::Plain));
    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> File;
        bool LoadWhileOpen; // skinned at first, then a load starts that finds no file
    };
    const TCase cases[] = {{"no MenuBackground", SmallSkinFile(), false},
                           {"empty image", MenuSkin(TMenuBack::Missing), false},
                           {"skin loading", MenuSkin(TMenuBack::Plain), true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Reload(c.File);
        ASSERT_TRUE(WhileOpen([&](HWND popup) {
            if (c.LoadWhileOpen) {
                EXPECT_EQ('O', LetterOf(PixelOf(*Printed(popup), 0, 0)));
                FSkin->AssignSkinFile("Z:\\no such folder\\none.skn");
                EXPECT_TRUE(FSkin->SkinLoading());
            }
            EXPECT_TRUE(AnswersSkinned(popup));
            auto printed = Printed(popup);
            auto own = PrintedBySystem(popup);
            EXPECT_EQ("", FirstDifference(*own, *printed));
            EXPECT_NE('M', LetterOf(PixelOf(*printed, 0, 0))); // the system did print
            return true;
        }));
    }
}

TEST_F(SkinPopMenu, SkinningSwitchedOffWhileAMenuIsOpenGivesItBackItsOwnPainting) {
    Start(MenuSkin(TMenuBack::Framed));
    bool switchedOff = false;
    ASSERT_TRUE(WhileOpen([&](HWND popup) {
        const SIZE size = skinformtest::WindowSize(popup);
        TWindowDC screen(popup, true);
        const char shown = LetterOf(GetPixel(screen.Get(), 1, size.cy / 2));
        if (!switchedOff) {
            if (shown != 'N')
                return false; // not painted yet
            Watcher().SetActive(false);
            switchedOff = true;
            RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
            return false;
        }
        if (shown == 'N')
            return false;
        EXPECT_TRUE(AnswersSkinned(popup));
        auto printed = Printed(popup);
        EXPECT_EQ(LetterOf(GetPixel(screen.Get(), 1, size.cy / 2)),
                  LetterOf(PixelOf(*printed, 1, size.cy / 2)));
        EXPECT_NE('N', LetterOf(PixelOf(*printed, 1, 1)));
        return true;
    })) << (switchedOff ? "the skinned border stayed" : "the border never showed the skin");
    Watcher().SetActive(true);
}

// On a window of its own, what reaches the window's procedure is countable.
TEST_F(SkinPopMenu, TheEraseSwitchAndSkinningOffDecideWhatReachesTheMenusOwnProcedure) {
    Start(MenuSkin(TMenuBack::Plain));
    TTestWindow window(WS_POPUP, 0, 120, 80);
    TWinSkinPopMenu popup;
    popup.Attach(window.Handle(), *FSkin, nullptr);
    ASSERT_TRUE(popup.Attached());
    auto surface = skintest::Surface(120, 80, ColorOf('M'));
    const auto dc = reinterpret_cast<WPARAM>(surface->Canvas()->Handle());
    struct TRow {
        bool Active;
        bool MenuBG;
        UINT Msg;
        int Reaches; // how often the window's own procedure sees the message
        LRESULT Result;
    };
    for (const TRow& r : {TRow{true, true, WM_ERASEBKGND, 0, 1}, TRow{true, false, WM_ERASEBKGND, 1, 1},
                          TRow{true, false, WM_NCPAINT, 0, 0}, TRow{true, false, WM_PRINT, 1, -1},
                          TRow{true, false, WMS_ISSKINNED, 0, 1}, TRow{false, true, WM_ERASEBKGND, 1, -1},
                          TRow{false, false, WM_NCPAINT, 1, -1}, TRow{false, false, WM_PRINT, 1, -1},
                          TRow{false, false, WMS_ISSKINNED, 0, 1}}) {
        SCOPED_TRACE(std::to_string(r.Msg) + (r.Active ? " on" : " off") + (r.MenuBG ? " xoMenuBG" : ""));
        Watcher().SetActive(r.Active);
        TSkinOptions options = FSkin->Options();
        r.MenuBG ? options.Include(xoMenuBG) : options.Exclude(xoMenuBG);
        FSkin->SetOptions(options);
        window.ResetCounts();
        const LRESULT result = SendMessageW(window.Handle(), r.Msg, r.Msg == WM_NCPAINT ? 1 : dc,
                                            r.Msg == WM_PRINT ? PRF_CLIENT | PRF_NONCLIENT : 0);
        EXPECT_EQ(r.Reaches, window.Count(r.Msg));
        if (r.Result >= 0) {
            EXPECT_EQ(r.Result, result);
        }
    }
    Watcher().SetActive(true);
    popup.Detach();
}

TEST_F(SkinPopMenu, FiveHundredOpeningsOfASkinnedMenuLeaveTheHandleCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    Start(MenuSkin(TMenuBack::Framed));
    // Open until the skinned background has been painted at least once.
    auto openOnce = [&] {
        return WhileOpen([&](HWND popup) { return !Skinner(popup)->Background().Empty(); }, 10);
    };
    ASSERT_TRUE(openOnce()); // process-wide scratch objects are made once
    PumpPending();
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(openOnce()) << i;
    PumpPending();
    EXPECT_TRUE(Watcher().Popups().empty());
    EXPECT_EQ(before, THandleCounter::Current())
        << before.ToString() << " -> " << THandleCounter::Current().ToString();
}

} // namespace
