// Check boxes and radio buttons: the mark frame of each state with 4-, 8- and 12-frame images,
// data-aware boxes following their last BM_SETCHECK, the mark on the right for BS_LEFTTEXT,
// transparent boxes, bare buttons marked over their native look, and glyph strips handed to
// foreign controls.
#include "../form/SkinFormTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassChecks.h"

#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

#include <gtest/gtest.h>

using skinformtest::PumpPending;

TEST(SkinCheckFrames, LogicalIndicesMapToTheFramesOfTheImage) {
    struct TRow {
        int Logical;
        bool Grayed, Disabled;
        int Frames, Expected;
    };
    const TRow checks[] = {
        {1, false, false, 4, 1}, {2, false, false, 4, 2},  {3, false, true, 4, 3},   {4, false, true, 4, 4},
        {4, true, false, 4, 4},  {1, false, false, 12, 1}, {2, false, false, 12, 5}, {3, false, true, 12, 4},
        {4, false, true, 12, 8}, {4, true, false, 12, 9},  {4, true, true, 12, 12},  {2, false, false, 6, 2},
    };
    for (const TRow& row : checks)
        EXPECT_EQ(CheckFrameOf(row.Logical, row.Grayed, row.Disabled, row.Frames), row.Expected)
            << row.Logical << " " << row.Grayed << " " << row.Frames;
    EXPECT_EQ(RadioFrameOf(2, 8), 5);
    EXPECT_EQ(RadioFrameOf(3, 8), 4);
    EXPECT_EQ(RadioFrameOf(4, 8), 8);
    EXPECT_EQ(RadioFrameOf(4, 4), 4);
}

namespace {

enum TTestCheckState { tcUnchecked, tcChecked, tcGrayed };
const TEnumType TestCheckStateType{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};

// A check box of a data-aware library: a State, and a DataField it is bound to.
class TDBCheckBox : public TCheckBox {
    TW_DECLARE_CLASS(TDBCheckBox, TCheckBox)
    using TCheckBox::TCheckBox;
    TTestCheckState State() const { return FState; }
    void SetState(TTestCheckState value) { FState = value; }
    std::string DataField() const { return "Field"; }
    TTestCheckState FState = tcUnchecked;
};
TClass TDBCheckBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TDBCheckBox>("TDBCheckBox")
            .Enum("State", TestCheckStateType, &TDBCheckBox::State, &TDBCheckBox::SetState)
            .Str("DataField", &TDBCheckBox::DataField)
            .Build();
    return &info;
}

// Foreign controls that take glyph strips.
class TRzCheckBox : public TCheckBox {
    TW_DECLARE_CLASS(TRzCheckBox, TCheckBox)
    using TCheckBox::TCheckBox;
    TBitmap* CustomGlyphs() const { return FGlyphs.get(); }
    bool UseCustomGlyphs() const { return FUse; }
    void SetUseCustomGlyphs(bool value) {
        FUse = value;
        Writes.push_back(value ? "use" : "off");
    }
    int TransparentColor() const { return FKey; }
    void SetTransparentColor(int value) { FKey = value; }
    std::unique_ptr<TBitmap> FGlyphs = std::make_unique<TBitmap>();
    bool FUse = false;
    int FKey = 0;
    std::vector<std::string> Writes;
};
TClass TRzCheckBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TRzCheckBox>("TRzCheckBox")
            .Obj<TBitmap>("CustomGlyphs", &TRzCheckBox::CustomGlyphs)
            .Int("TransparentColor", &TRzCheckBox::TransparentColor, &TRzCheckBox::SetTransparentColor)
            .Bool("UseCustomGlyphs", &TRzCheckBox::UseCustomGlyphs, &TRzCheckBox::SetUseCustomGlyphs)
            .Build();
    return &info;
}

class TcxCheckBoxProperties : public TPersistent {
    TW_DECLARE_CLASS(TcxCheckBoxProperties, TPersistent)
    TBitmap* Glyph() const { return FGlyph.get(); }
    int TransparentColor() const { return FKey; }
    void SetTransparentColor(int value) { FKey = value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
    int FKey = 0;
    bool FTransparent = true;
};
TClass TcxCheckBoxProperties::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TcxCheckBoxProperties>("TcxCheckBoxProperties")
            .Obj<TBitmap>("Glyph", &TcxCheckBoxProperties::Glyph)
            .Int("TransparentColor", &TcxCheckBoxProperties::TransparentColor,
                 &TcxCheckBoxProperties::SetTransparentColor)
            .Bool("Transparent", &TcxCheckBoxProperties::Transparent, &TcxCheckBoxProperties::SetTransparent)
            .Build();
    return &info;
}

class TcxCheckBox : public TCheckBox {
    TW_DECLARE_CLASS(TcxCheckBox, TCheckBox)
    using TCheckBox::TCheckBox;
    TcxCheckBoxProperties* Properties() const { return FProperties.get(); }
    std::unique_ptr<TcxCheckBoxProperties> FProperties = std::make_unique<TcxCheckBoxProperties>();
};
TClass TcxCheckBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TcxCheckBox>("TcxCheckBox")
                                       .Obj<TcxCheckBoxProperties>("Properties", &TcxCheckBox::Properties)
                                       .Build();
    return &info;
}

// The letter of mark frame n (1-based) of the test skin's images.
char MarkLetter(int frame) {
    return "KWRGBYCOPNTL"[(frame - 1) % 12];
}

class SkinCheckTest : public ::testing::Test {
protected:
    void UseSkin(int checkFrames, int radioFrames) {
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        options.CheckFrames = checkFrames;
        options.RadioFrames = radioFrames;
        FSkin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
        FForm.reset(new TForm(nullptr, TCreateNew{}));
        FForm->SetBounds(60, 60, 300, 220);
        FForm->SetColor(clLime);
        FForm->Show();
        PumpPending();
        FPainter.reset(new TWinSkinForm(nullptr));
        FPainter->SetHandle(FForm->Handle());
    }
    void TearDown() override {
        FPainter.reset();
        FForm.reset();
    }
    template <class Control, class Skinner = TSkinCheckBox>
    Control* Add(int top, int width = 120) {
        auto* control = new Control(FForm.get());
        control->SetParent(FForm.get());
        control->SetBounds(10, top, width, 20);
        control->SetCaption("mark");
        (new Skinner(control))->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
        return control;
    }
    // The mark's letter: a left-hand mark sits at x 0..5, vertically centred.
    static char MarkAt(HWND wnd, int x = 2) {
        RECT r{};
        GetClientRect(wnd, &r);
        TWindowDC dc(wnd);
        return skintest::LetterOf(GetPixel(dc.Get(), x, r.bottom / 2));
    }
    static void Show(TWinControl* control) {
        control->Repaint();
        PumpPending();
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TForm, TObjectDeleter> FForm;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FPainter;
};

} // namespace

TEST_F(SkinCheckTest, ADisabledCheckedBoxShowsFrame4Or8AndAGrayedOne4Or9Or12) {
    for (const int frames : {4, 12}) {
        SCOPED_TRACE(frames);
        UseSkin(frames, 4);
        auto* box = Add<TCheckBox>(10);
        box->SetChecked(true);
        box->SetEnabled(false);
        Show(box);
        EXPECT_EQ(MarkAt(box->Handle()), MarkLetter(frames == 12 ? 8 : 4));
        auto* grayed = Add<TDBCheckBox>(40);
        grayed->SetState(tcGrayed);
        Show(grayed);
        EXPECT_EQ(MarkAt(grayed->Handle()), MarkLetter(frames == 12 ? 9 : 4));
        grayed->SetEnabled(false);
        Show(grayed);
        EXPECT_EQ(MarkAt(grayed->Handle()), MarkLetter(frames == 12 ? 12 : 4));
        TearDown();
    }
}

TEST_F(SkinCheckTest, ADataAwareBoxFollowsTheLastSetCheck) {
    UseSkin(4, 4);
    auto* box = Add<TDBCheckBox>(10);
    box->SetState(tcUnchecked);
    SendMessageA(box->Handle(), BM_SETCHECK, 2, 0);
    Show(box);
    EXPECT_EQ(MarkAt(box->Handle()), MarkLetter(4));
    SendMessageA(box->Handle(), BM_SETCHECK, 1, 0);
    Show(box);
    EXPECT_EQ(MarkAt(box->Handle()), MarkLetter(2));
}

TEST_F(SkinCheckTest, LeftTextPutsTheMarkRightAndRightToLeftAlignsTheCaptionRight) {
    UseSkin(4, 8);
    auto* box = new TCheckBox(FForm.get());
    box->SetParent(FForm.get());
    box->SetBounds(10, 10, 120, 20);
    box->SetCaption("mark");
    box->SetBiDiMode(bdRightToLeft);
    SetWindowLongPtrA(box->Handle(), GWL_STYLE, GetWindowLongPtrA(box->Handle(), GWL_STYLE) | BS_LEFTTEXT);
    (new TSkinCheckBox(box))->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
    box->SetChecked(true);
    Show(box);
    EXPECT_EQ(MarkAt(box->Handle(), 120 - 3), MarkLetter(2)) << "the mark is flush right";
    EXPECT_NE(MarkAt(box->Handle(), 2), MarkLetter(2));
    // The caption ends at the mark less two pixels: dark text pixels just left of it.
    TWindowDC dc(box->Handle());
    int inked = 0;
    for (int x = 120 - 6 - 20; x < 120 - 6 - 2; ++x)
        for (int y = 2; y < 18; ++y)
            inked += GetPixel(dc.Get(), x, y) == RGB(0, 0, 0) ? 1 : 0;
    EXPECT_GT(inked, 0) << "a right-aligned caption";

    auto* radio = Add<TRadioButton, TSkinRadioButton>(40);
    SetWindowLongPtrA(radio->Handle(), GWL_STYLE,
                      GetWindowLongPtrA(radio->Handle(), GWL_STYLE) | BS_LEFTTEXT);
    radio->SetChecked(true);
    Show(radio);
    EXPECT_EQ(MarkAt(radio->Handle(), 120 - 1 - 3), MarkLetter(5)) << "checked radio of 8 frames, 1 pixel in";
}

TEST_F(SkinCheckTest, ATransparentBoxShowsItsParentAroundTheMark) {
    UseSkin(4, 4);
    auto* box = Add<TCheckBox>(10);
    auto* transparent = new TCheckBox(FForm.get());
    transparent->SetParent(FForm.get());
    transparent->SetBounds(10, 40, 120, 20);
    transparent->SetTag(5555);
    (new TSkinCheckBox(transparent))
        ->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
    Show(box);
    Show(transparent);
    TWindowDC plain(box->Handle()), clear(transparent->Handle());
    EXPECT_EQ(GetPixel(plain.Get(), 2, 1), RGB(10, 20, 30)) << "the face colour above the mark";
    EXPECT_EQ(GetPixel(clear.Get(), 2, 1), RGB(0, 255, 0)) << "the parent's colour above the mark";
}

TEST_F(SkinCheckTest, ABareCheckBoxPaintsNativelyWithTheMarkDrawnOver) {
    UseSkin(4, 4);
    HWND bare = CreateWindowExA(0, "Button", "bare", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 100, 120,
                                20, FForm->Handle(), nullptr, nullptr, nullptr);
    auto* skinner = new TSkinCheckBox(FPainter.get());
    skinner->AttachWindow(bare, FSkin.get(), FPainter.get(), FPainter->ControlCanvas());
    SendMessageA(bare, BM_SETCHECK, BST_CHECKED, 0);
    RedrawWindow(bare, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(MarkAt(bare), MarkLetter(2));
    TWindowDC dc(bare);
    EXPECT_NE(GetPixel(dc.Get(), 60, 1), RGB(10, 20, 30)) << "no face fill: the native background stays";
    DestroyWindow(bare);
}

TEST_F(SkinCheckTest, ForeignControlsGetGlyphStripsThroughTheirPropertiesAndLoseThemAgain) {
    UseSkin(5, 4);
    auto* rz = new TRzCheckBox(FForm.get());
    rz->SetParent(FForm.get());
    auto* strips = new TSkinObjImage(rz);
    strips->SetGlyphKind(1);
    strips->AttachControl(FPainter.get(), FSkin.get(), true, FPainter->ControlCanvas());
    std::string frames;
    for (int k = 0; k < 9; ++k)
        frames += skintest::LetterOf(rz->CustomGlyphs()->Canvas()->Pixels(k * 6 + 2, 2));
    EXPECT_EQ(frames, "KWBKWBRGB") << "kind 1 with five source frames: s1 s2 s5 s1 s2 s5 s3 s4 s5";
    EXPECT_EQ(rz->TransparentColor(), 0xFF00FF);
    EXPECT_EQ(rz->Writes, (std::vector<std::string>{"off", "use"}));
    strips->Detach();
    EXPECT_FALSE(rz->UseCustomGlyphs());

    auto* cx = new TcxCheckBox(FForm.get());
    cx->SetParent(FForm.get());
    auto* glyph = new TSkinObjImage(cx);
    glyph->SetGlyphKind(3);
    glyph->AttachControl(FPainter.get(), FSkin.get(), true, FPainter->ControlCanvas());
    TBitmap& strip = *cx->Properties()->Glyph();
    ASSERT_EQ(strip.Width(), 36);
    std::string six;
    for (int k = 0; k < 6; ++k)
        six += skintest::LetterOf(strip.Canvas()->Pixels(k * 6 + 2, 2));
    EXPECT_EQ(six, "KWBKWB");
    EXPECT_EQ(cx->Properties()->TransparentColor(), 0xFF00FF);
    EXPECT_FALSE(cx->Properties()->Transparent());
    glyph->Detach();
    EXPECT_TRUE(cx->Properties()->Glyph()->Empty());
}
