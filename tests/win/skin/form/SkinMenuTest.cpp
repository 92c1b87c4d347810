// Skinned menu items: the pure measuring and layout rules, the item painting from the
// MenuItem image (frames, separators, plain colours without the element), which framework
// menus are switched to owner drawing and back, and the native items left to the default.
#include "SkinFormTestSupport.h"
#include "SkinTestImages.h"
#include "WinSkinMenuItem.h"
#include "WinSkinMenuLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace skinformtest;
using skintest::LetterOf;

namespace {

std::array<LONG, 4> Sides(const TRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// ---- pure rules ------------------------------------------------------------------------------

TEST(SkinMenuLayout, ExtraWidthMeasuredCaptionDisabledColourAndSeparatorRows) {
    struct Width {
        int LeftWidth;
        bool Images;
        bool Popup;
        int Expected;
    };
    for (const Width& c : {Width{4, false, false, 39}, Width{4, true, false, 14}, Width{4, true, true, 16},
                           Width{-1, false, true, 35}, Width{0, true, true, 12}})
        EXPECT_EQ(c.Expected, MenuItemExtraWidth(c.LeftWidth, c.Images, c.Popup)) << c.LeftWidth << c.Images;

    EXPECT_EQ(" ", MeasuredCaption(""));
    EXPECT_EQ("& ", MeasuredCaption("&"));
    EXPECT_EQ("&Open", MeasuredCaption("&Open"));

    EXPECT_EQ(clBtnShadow, DisabledMenuTextColor(TColor(0x102030), TColor(0x102030)));
    EXPECT_EQ(TColor(0x808080), DisabledMenuTextColor(TColor(0x808080), TColor(0)));

    EXPECT_EQ(2, SeparatorSourceTop(6, 4)); // lower than the image: its bottom rows
    EXPECT_EQ(0, SeparatorSourceTop(6, 6));
    EXPECT_EQ(0, SeparatorSourceTop(6, 20));

    EXPECT_EQ(1, MenuItemFrame(false));
    EXPECT_EQ(4, MenuItemFrame(true));
    EXPECT_EQ(16, MenuGlyphWidth(0, false));
    EXPECT_EQ(16, MenuGlyphWidth(12, true));
    EXPECT_EQ(12, MenuGlyphWidth(12, false));
}

TEST(SkinMenuLayout, GlyphAndTextBoxesMirrorForRightToLeftMenus) {
    const TRect item{0, 10, 200, 30};
    const TMenuItemLayout ltr = MenuItemLayout(item, 16, 4, false, false);
    EXPECT_EQ(Sides(TRect{5, 11, 21, 27}), Sides(ltr.Glyph));
    EXPECT_EQ(Sides(TRect{24, 10, 199, 30}), Sides(ltr.Text));
    const TMenuItemLayout rtl = MenuItemLayout(item, 16, 4, false, true);
    EXPECT_EQ(Sides(TRect{179, 11, 195, 27}), Sides(rtl.Glyph));
    EXPECT_EQ(Sides(TRect{1, 10, 176, 30}), Sides(rtl.Text));
    // A separator has no glyph box; right to left it collapses at the right edge.
    EXPECT_EQ(0, RectWidth(MenuItemLayout(item, 16, 4, true, false).Glyph));
    EXPECT_EQ(200, MenuItemLayout(item, 16, 4, true, true).Glyph.left);

    const TRect caption = CentredCaption(TRect{24, 10, 199, 30}, 50, 13, false);
    EXPECT_EQ(Sides(TRect{24, 13, 74, 26}), Sides(caption));
    EXPECT_EQ(Sides(TRect{74, 13, 189, 26}), Sides(ShortCutRect(item, caption, false)));
    EXPECT_EQ(149, CentredCaption(TRect{1, 10, 199, 30}, 50, 13, true).left);

    EXPECT_TRUE(IsControlCommand(1));
    EXPECT_TRUE(IsControlCommand(4095));
    EXPECT_FALSE(IsControlCommand(4096));
    EXPECT_FALSE(IsControlCommand(0));
    const SIZE native = NativeItemSize(40, false, 4, 15, false);
    EXPECT_EQ(70, native.cx);
    EXPECT_EQ(19, native.cy);
    EXPECT_EQ(8, NativeItemSize(0, true, -1, 15, false).cy);
}

TEST(SkinMenuLayout, BarCellsMarginsNeighboursAndAccelerators) {
    EXPECT_EQ(6, MenuBarMargin(-1, -1, false, 300));
    EXPECT_EQ(8, MenuBarMargin(4, 2, false, 300));
    EXPECT_EQ(10, MenuBarMargin(4, 2, true, 300));
    EXPECT_EQ(12, MenuBarMargin(4, 20, true, 20)); // band narrower than the margin

    const auto cells = MenuBarCells({20, -1, 0, 30}, 6, 300, 20, false);
    EXPECT_EQ(Sides(TRect{6, 0, 36, 19}), Sides(cells[0]));
    EXPECT_EQ(Sides(TRect{0, 0, 0, 0}), Sides(cells[1])); // invisible
    EXPECT_EQ(Sides(TRect{36, 0, 36, 19}), Sides(cells[2]));
    EXPECT_EQ(Sides(TRect{36, 0, 76, 19}), Sides(cells[3]));
    const auto mirrored = MenuBarCells({20, 30}, 6, 300, 20, true);
    EXPECT_EQ(Sides(TRect{264, 0, 294, 19}), Sides(mirrored[0]));
    EXPECT_EQ(Sides(TRect{224, 0, 264, 19}), Sides(mirrored[1]));

    struct Move {
        int Index;
        bool Forward;
        int Expected;
    };
    for (const Move& m : {Move{0, true, 1}, Move{2, true, 0}, Move{0, false, 2}, Move{1, false, 0},
                          Move{-1, true, 0}, Move{-1, false, 2}})
        EXPECT_EQ(m.Expected, NeighbourMenuIndex(m.Index, 3, m.Forward)) << m.Index << m.Forward;
    EXPECT_EQ(-1, NeighbourMenuIndex(0, 0, true));

    EXPECT_TRUE(CaptionHasAccel(L"&File", L'f'));
    EXPECT_TRUE(CaptionHasAccel(L"Save &As", L'A'));
    EXPECT_FALSE(CaptionHasAccel(L"Fish && &Chips", L'&'));
    EXPECT_TRUE(CaptionHasAccel(L"Fish && &Chips", L'c'));
    EXPECT_FALSE(CaptionHasAccel(L"File", L'F'));
    EXPECT_FALSE(CaptionHasAccel(L"File&", L'F'));
}

// ---- painting ----------------------------------------------------------------------------------

class SkinMenuItems : public ::testing::Test {
protected:
    void Load(const std::vector<std::uint8_t>& file) {
        FSkin = LoadedSkin(file);
        FPainter = std::make_unique<TWinSkinMenuItems>(*FSkin);
        FMenu.reset(new TPopupMenu(nullptr));
        FItem = new TMenuItem(FMenu.get());
        FItem->SetCaption("Open");
        FMenu->Items()->Add(FItem);
        FTarget.SetSize(120, 40);
        FTarget.Canvas()->Brush()->SetColor(clWhite);
        FTarget.Canvas()->FillRect(TRect{0, 0, 120, 40});
    }
    void Draw(TMenuItem& item, const TRect& rect, bool selected) {
        FPainter->DrawSkinnedItem(&item, FTarget.Canvas(), rect, selected);
    }
    char At(int x, int y) { return LetterOf(GetPixel(FTarget.Canvas()->Handle(), x, y)); }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TWinSkinMenuItems> FPainter;
    std::unique_ptr<TPopupMenu, TObjectDeleter> FMenu;
    TMenuItem* FItem = nullptr;
    TBitmap FTarget;
};

TEST_F(SkinMenuItems, NormalAndSelectedItemsUseFramesOneAndFourOfTheImage) {
    TSmallSkinOptions options;
    options.Menus = true;
    Load(SmallSkinFile(options));
    Draw(*FItem, TRect{10, 5, 110, 25}, false);
    EXPECT_EQ('R', At(10, 5));   // the frame's corner at the item's corner
    EXPECT_EQ('R', At(109, 24)); // and at the opposite one
    EXPECT_EQ('W', At(9, 5));    // nothing outside the item
    Draw(*FItem, TRect{10, 5, 110, 25}, true);
    EXPECT_EQ('Y', At(10, 5));
    EXPECT_EQ('Y', At(109, 24));
}

TEST_F(SkinMenuItems, ASeparatorLowerThanTheImageShowsItsBottomRows) {
    TSmallSkinOptions options;
    options.Menus = true;
    Load(SmallSkinFile(options));
    FItem->SetCaption("-");
    Draw(*FItem, TRect{0, 0, 60, 3}, false);
    EXPECT_EQ('B', At(0, 0));
    EXPECT_EQ('B', At(30, 2));
    Draw(*FItem, TRect{0, 10, 60, 22}, false); // taller: the whole frame stretched
    EXPECT_EQ('G', At(30, 10));
    EXPECT_EQ('B', At(30, 21));
}

TEST_F(SkinMenuItems, WithoutAMenuItemElementItemsGetFlatColours) {
    Load(SmallSkinFile());
    Draw(*FItem, TRect{0, 0, 100, 20}, true);
    EXPECT_EQ(ColorToRGB(FSkin->Elements().Colors.Hilight) & 0xFFFFFF,
              GetPixel(FTarget.Canvas()->Handle(), 1, 1) & 0xFFFFFF);
    Draw(*FItem, TRect{0, 0, 100, 20}, false);
    EXPECT_EQ(ColorToRGB(FSkin->Elements().Colors.Menu) & 0xFFFFFF,
              GetPixel(FTarget.Canvas()->Handle(), 1, 1) & 0xFFFFFF);
}

TEST_F(SkinMenuItems, TheProgramSkinPaintsSelectedItemsApartAndDrawsTheCaption) {
    Load(ProgramSkinFile());
    const TRect rect{0, 0, 120, 20};
    Draw(*FItem, rect, false);
    const COLORREF normal = GetPixel(FTarget.Canvas()->Handle(), 60, 1);
    Draw(*FItem, rect, true);
    EXPECT_NE(normal, GetPixel(FTarget.Canvas()->Handle(), 60, 1));
    // Some pixel of the caption's area is drawn in the selected text colour.
    const COLORREF ink = ColorToRGB(FSkin->Elements().Colors.HilightText) & 0xFFFFFF;
    bool found = false;
    for (int x = 20; x < 60 && !found; ++x)
        for (int y = 3; y < 17 && !found; ++y)
            found = (GetPixel(FTarget.Canvas()->Handle(), x, y) & 0xFFFFFF) == ink;
    EXPECT_TRUE(found);
}

TEST_F(SkinMenuItems, MeasuringAddsTheSkinsRoomAndAnEmptyCaptionKeepsItsHeight) {
    TSmallSkinOptions options;
    options.Menus = true;
    Load(SmallSkinFile(options));
    FPainter->HookPopupMenus(nullptr, true); // nothing to walk: no failure
    FPainter->HookPopupItem(FItem);
    TBitmap canvasHost;
    canvasHost.SetSize(1, 1);
    TCanvas* canvas = canvasHost.Canvas();
    canvas->Font()->Assign(&MenuItemFont());
    int width = 0, height = 0;
    FItem->MeasureItem(canvas, width, height);
    int plainWidth = 0, plainHeight = 0;
    FItem->OnMeasureItem.Clear();
    FItem->MeasureItem(canvas, plainWidth, plainHeight);
    EXPECT_EQ(plainWidth + 1 + 35, width); // LeftWidth 1, no image list
    FItem->SetCaption("");
    int emptyWidth = 0, emptyHeight = 0;
    FItem->MeasureItem(canvas, emptyWidth, emptyHeight);
    EXPECT_GT(emptyHeight, 4);
}

// ---- which menus are hooked ----------------------------------------------------------------------

TEST_F(SkinMenuItems, PopupMenusTaggedWithDisableTagAndForeignHandlersAreLeftAlone) {
    Load(SmallSkinFile());
    std::unique_ptr<TComponent, TObjectDeleter> owner(new TComponent(nullptr));
    auto* plain = new TPopupMenu(owner.get());
    auto* tagged = new TPopupMenu(owner.get());
    tagged->SetTag(FSkin->DisableTag());
    auto* main = new TMainMenu(owner.get());
    for (TMenu* menu : {static_cast<TMenu*>(plain), static_cast<TMenu*>(tagged), static_cast<TMenu*>(main)}) {
        auto* top = new TMenuItem(owner.get());
        top->SetCaption("&File");
        menu->Items()->Add(top);
        auto* sub = new TMenuItem(owner.get());
        sub->SetCaption("Open");
        top->Add(sub);
    }
    // An application's own measuring stays through hooking and unhooking.
    TMenuItem* own = plain->Items()->Items(0)->Items(0);
    struct TAppHandler {
        void Measure(TObject*, TCanvas*, int& width, int&) { width += 1; }
    } app;
    own->OnMeasureItem = TMenuMeasureItemEvent(&app, &TAppHandler::Measure);
    const TMenuMeasureItemEvent foreign = own->OnMeasureItem;

    FPainter->HookPopupMenus(owner.get(), true);
    FPainter->HookMainMenus(owner.get(), true);
    EXPECT_TRUE(plain->OwnerDraw());
    EXPECT_TRUE(plain->Items()->Items(0)->OnDrawItem.Assigned());
    EXPECT_TRUE(own->OnDrawItem.Assigned());
    EXPECT_TRUE(own->OnMeasureItem == foreign);
    EXPECT_FALSE(tagged->OwnerDraw());
    EXPECT_FALSE(tagged->Items()->Items(0)->OnDrawItem.Assigned());
    EXPECT_TRUE(main->OwnerDraw());
    EXPECT_FALSE(main->Items()->Items(0)->OnDrawItem.Assigned()); // the bar draws the top level
    EXPECT_TRUE(main->Items()->Items(0)->Items(0)->OnDrawItem.Assigned());

    FPainter->HookPopupMenus(owner.get(), false);
    FPainter->HookMainMenus(owner.get(), false);
    EXPECT_FALSE(plain->OwnerDraw());
    EXPECT_FALSE(own->OnDrawItem.Assigned());
    EXPECT_TRUE(own->OnMeasureItem == foreign);
    EXPECT_FALSE(main->Items()->Items(0)->Items(0)->OnDrawItem.Assigned());

    auto* toolItem = new TMenuItem(owner.get());
    FPainter->HookItemTree(toolItem, true);
    EXPECT_TRUE(toolItem->OnDrawItem.Assigned());
    FPainter->UnhookTree(owner.get());
    EXPECT_FALSE(toolItem->OnDrawItem.Assigned());
    EXPECT_FALSE(toolItem->OnMeasureItem.Assigned());
}

TEST_F(SkinMenuItems, NativeItemsWithControlIdsAreLeftToTheDefault) {
    Load(SmallSkinFile());
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = 100;
    TMenuHandle menu(CreatePopupMenu());
    AppendMenuA(menu.Get(), MF_STRING, 100, "control");
    AppendMenuA(menu.Get(), MF_STRING, 5000, "command");
    EXPECT_FALSE(FPainter->MeasureNative(nullptr, menu.Get(), measure));
    measure.itemID = 5000;
    measure.itemHeight = 15;
    ASSERT_TRUE(FPainter->MeasureNative(nullptr, menu.Get(), measure));
    EXPECT_GT(measure.itemWidth, 26u);
    EXPECT_EQ(19u, measure.itemHeight);

    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = 100;
    draw.hwndItem = reinterpret_cast<HWND>(menu.Get());
    draw.hDC = FTarget.Canvas()->Handle();
    draw.rcItem = RECT{0, 0, 100, 20};
    EXPECT_FALSE(FPainter->DrawNativeMessage(nullptr, draw));
    EXPECT_EQ('W', At(1, 1));
    draw.itemID = 5000;
    draw.itemState = ODS_SELECTED;
    EXPECT_TRUE(FPainter->DrawNativeMessage(nullptr, draw));
    EXPECT_EQ(ColorToRGB(FSkin->Elements().Colors.Hilight) & 0xFFFFFF,
              GetPixel(FTarget.Canvas()->Handle(), 1, 1) & 0xFFFFFF);
    // Not a menu item at all.
    draw.CtlType = ODT_BUTTON;
    EXPECT_FALSE(FPainter->DrawNativeMessage(nullptr, draw));
}

} // namespace
