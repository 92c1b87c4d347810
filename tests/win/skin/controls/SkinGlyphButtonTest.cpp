// Glyph, speed and drop-down buttons: the layout arithmetic, the glyph picture by state (grey
// when disabled, the fourth of a down speed button), flat speed buttons without a face until
// the mouse comes, and the drop-down arrow.
#include "../form/SkinFormTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassButtons.h"

#include "Buttons.h"
#include "Forms.h"

#include <gtest/gtest.h>

using skinformtest::PumpPending;

TEST(GlyphLayout, MarginAndSpacingPlaceTheGlyphAndTheCaption) {
    struct TRow {
        const char* Case;
        int Layout, Margin, Spacing;
        bool Centred, Speed;
        POINT Glyph;
        LONG TextLeft, TextTop;
        UINT Flags;
    };
    // A 100 x 40 client, a 16 x 16 glyph and a 30 x 12 caption.
    const TRow rows[] = {
        {"free room in thirds", 0, -1, -1, false, false, {18, 12}, 52, 14, DT_WORDBREAK},
        {"margin given, spacing spread", 0, 4, -1, false, false, {4, 12}, 45, 14, DT_WORDBREAK},
        {"spacing given, centred", 0, -1, 4, false, false, {25, 12}, 45, 14, DT_WORDBREAK},
        {"tacenter ignores the margin", 0, 10, 4, true, false, {25, 12}, 45, 14, DT_WORDBREAK},
        {"speed buttons centre one pixel further", 0, -1, 4, false, true, {26, 12}, 46, 14, DT_WORDBREAK},
        {"glyph right", 1, 4, 6, false, false, {80, 12}, 44, 14, DT_WORDBREAK | DT_RIGHT},
        {"glyph on top", 2, 3, 2, false, false, {42, 3}, 35, 21, DT_WORDBREAK | DT_CENTER},
        {"glyph at the bottom", 3, 3, 2, false, false, {42, 21}, 35, 7, DT_WORDBREAK | DT_CENTER},
    };
    for (const TRow& row : rows) {
        const TGlyphPlacement placed =
            PlaceGlyphAndText(SIZE{100, 40}, SIZE{16, 16}, SIZE{30, 12}, row.Layout, row.Margin, row.Spacing,
                              row.Centred, row.Speed);
        EXPECT_EQ(placed.Glyph.x, row.Glyph.x) << row.Case;
        EXPECT_EQ(placed.Glyph.y, row.Glyph.y) << row.Case;
        EXPECT_EQ(placed.Text.left, row.TextLeft) << row.Case;
        EXPECT_EQ(placed.Text.top, row.TextTop) << row.Case;
        EXPECT_EQ(placed.Flags, row.Flags) << row.Case;
    }
    // Without a caption there is no spacing: the glyph alone is centred.
    EXPECT_EQ(PlaceGlyphAndText(SIZE{100, 40}, SIZE{16, 16}, SIZE{0, 0}, 0, -1, 8, false, false).Glyph.x, 42);
}

namespace {

class SkinGlyphButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        FSkin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
        FForm.reset(new TForm(nullptr, TCreateNew{}));
        FForm->SetBounds(60, 60, 300, 200);
        FForm->Show();
        PumpPending();
        FPainter.reset(new TWinSkinForm(nullptr));
        FPainter->SetHandle(FForm->Handle());
    }
    void TearDown() override {
        FPainter.reset();
        FForm.reset();
    }
    // Glyph pictures of 8 x 8 side by side, one letter each, each bottom-left pixel the key.
    static std::unique_ptr<TBitmap> Glyphs(const std::string& letters) {
        std::vector<std::string> rows;
        for (int y = 0; y < 8; ++y) {
            std::string row;
            for (char letter : letters)
                row += std::string(8, letter);
            rows.push_back(row);
        }
        for (size_t i = 0; i < letters.size(); ++i)
            rows.back()[i * 8] = 'M';
        return skintest::Picture(rows);
    }
    // What the parent shows at a point of a windowless control.
    static COLORREF PixelAt(TControl& control, int x, int y) {
        TWindowDC dc(control.Parent()->Handle());
        return GetPixel(dc.Get(), control.Left() + x, control.Top() + y);
    }
    static char LetterAt(TControl& control, int x, int y) {
        return skintest::LetterOf(PixelAt(control, x, y));
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TForm, TObjectDeleter> FForm;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FPainter;
};

} // namespace

TEST_F(SkinGlyphButtonTest, ADisabledBitButtonWithOneGlyphShowsItGrey) {
    auto* button = new TBitBtn(FForm.get());
    button->SetParent(FForm.get());
    button->SetBounds(10, 10, 80, 30);
    auto glyph = Glyphs("G");
    button->SetGlyph(glyph.get());
    button->SetMargin(4);
    auto* skinner = new TSkinBitButton(button);
    skinner->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
    button->Repaint();
    // Glyph at (4, (30 - 8 + 1) / 2) = (4, 11).
    HDC dc = GetDC(button->Handle());
    EXPECT_EQ(GetPixel(dc, 6, 13), static_cast<COLORREF>(skintest::ColorOf('G')));
    ReleaseDC(button->Handle(), dc);
    button->SetEnabled(false);
    button->Repaint();
    dc = GetDC(button->Handle());
    EXPECT_EQ(GetPixel(dc, 6, 13), RGB(85, 85, 85)) << "lime averaged to grey";
    EXPECT_EQ(GetPixel(dc, 1, 1), static_cast<COLORREF>(skintest::ColorOf('B'))) << "disabled face";
    ReleaseDC(button->Handle(), dc);
}

TEST_F(SkinGlyphButtonTest, ADownSpeedButtonShowsItsFourthGlyphAndAFlatOneNoFaceUntilHot) {
    auto* button = new TSpeedButton(FForm.get());
    button->SetParent(FForm.get());
    button->SetBounds(10, 60, 60, 30);
    auto glyph = Glyphs("RGWB");
    button->SetGlyph(glyph.get());
    button->SetNumGlyphs(4);
    button->SetGroupIndex(1);
    button->SetFlat(true);
    auto* skinner = new TSkinSpeedButton(button);
    skinner->AttachGraphic(FPainter.get(), FSkin.get(), FPainter->ControlCanvas());
    FForm->Repaint();
    EXPECT_EQ(PixelAt(*button, 1, 1), RGB(10, 20, 30))
        << "a flat button at rest shows the face colour, no frame";
    button->Perform(CM_MOUSEENTER);
    FForm->Repaint();
    EXPECT_EQ(LetterAt(*button, 1, 1), 'Y') << "hot: frame 4";
    button->SetDown(true);
    FForm->Repaint();
    EXPECT_EQ(LetterAt(*button, 1, 1), 'G') << "down: frame 2";
    const TGlyphPlacement placed =
        PlaceGlyphAndText(SIZE{60, 30}, SIZE{8, 8}, SIZE{0, 0}, 0, -1, 4, false, true);
    EXPECT_EQ(LetterAt(*button, placed.Glyph.x + 3, placed.Glyph.y + 3), 'B') << "the fourth glyph";
}

TEST_F(SkinGlyphButtonTest, AMenuButtonDrawsItsArrowBesideTheCaption) {
    auto* button = new TButton(FForm.get());
    button->SetParent(FForm.get());
    button->SetBounds(10, 100, 90, 30);
    auto* skinner = new TSkinMenuButton(button);
    skinner->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
    button->Repaint();
    HDC dc = GetDC(button->Handle());
    const int m = 30 / 2 + 2;
    EXPECT_EQ(GetPixel(dc, 90 - 12, m - 1), RGB(0, 0, 0)) << "inside the arrow";
    const char face = GetFocus() == button->Handle() ? 'Y' : 'R'; // focused: frame 4
    EXPECT_EQ(GetPixel(dc, 90 - 12, m + 2), static_cast<COLORREF>(skintest::ColorOf(face)))
        << "below it: the face";
    ReleaseDC(button->Handle(), dc);
}
