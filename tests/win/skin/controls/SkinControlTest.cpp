// The skinner base on real controls (switching skin painting, attachment, destruction,
// ParentBackground, mouse coordinates), discovery on a framework form and a foreign window,
// the skinned toolbar, and the handle balance of many attach and detach cycles.
#include "../form/SkinFormTestSupport.h"
#include "HandleCounter.h"
#include "SkinTestImages.h"
#include "WinSubClass.h"
#include "WinSubClassPanels.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using skinformtest::LoadedSkin;
using skinformtest::PumpPending;
using skinformtest::SmallSkinFile;

namespace {

constexpr COLORREF kFace = RGB(10, 20, 30); // the small skin's ButtonFace

// A panel class of another library, known to the skin only by its name.
class TNilPanel : public TPanel {
    TW_DECLARE_CLASS(TNilPanel, TPanel)
    using TPanel::TPanel;
};
TClass TNilPanel::StaticClass() {
    static const TClassInfo info = TClassBuilder<TNilPanel>("TNilPanel").Build();
    return &info;
}

class TRzRadioGroup : public TPanel {
    TW_DECLARE_CLASS(TRzRadioGroup, TPanel)
    using TPanel::TPanel;
};
TClass TRzRadioGroup::StaticClass() {
    static const TClassInfo info = TClassBuilder<TRzRadioGroup>("TRzRadioGroup").Build();
    return &info;
}

// A skinner that paints its window red and records what the base does to it.
class TRedSkinner : public TSkinControl {
    TW_DECLARE_CLASS(TRedSkinner, TSkinControl)
    using TSkinControl::TSkinControl;

    void DrawSkin(HDC dc, const TRect& r) override {
        TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc, &r, red.Get());
    }
    void Detach() override {
        ++Detaches;
        TSkinControl::Detach();
    }
    bool BeforeMessage(TMessage& message) override {
        if (message.Msg == WM_LBUTTONDOWN) {
            ForwardMouseDown(message);
            return false;
        }
        return TSkinControl::BeforeMessage(message);
    }
    int Detaches = 0;
};
TClass TRedSkinner::StaticClass() {
    static const TClassInfo info = TClassBuilder<TRedSkinner>("TRedSkinner").Build();
    return &info;
}

COLORREF PixelOf(HWND wnd, int x, int y) {
    TWindowDC dc(wnd);
    return GetPixel(dc.Get(), x, y);
}

class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        FSkin = LoadedSkin(SmallSkinFile(options));
        FForm.reset(new TForm(nullptr, TCreateNew{}));
        FForm->SetBounds(50, 50, 320, 240);
        FForm->Show();
        PumpPending();
    }
    void TearDown() override {
        FPainter.reset();
        FForm.reset();
    }

    template <class T>
    T* Add(int left, int top, int width, int height) {
        auto* control = new T(FForm.get());
        control->SetParent(FForm.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

    // A form painter on the form, started, the way the watcher makes one.
    TWinSkinForm& Skin() {
        FPainter.reset(new TWinSkinForm(FForm.get()));
        FPainter->SetHandle(FForm->Handle());
        FPainter->AttachForm(*FSkin, FForm.get());
        SendMessageA(FForm->Handle(), WMS_SKINSTART, 0, 1000);
        PumpPending();
        return *FPainter;
    }

    // A painter without a start: the skinners of a test are attached by hand.
    TWinSkinForm& Painter() {
        FPainter.reset(new TWinSkinForm(nullptr));
        FPainter->SetHandle(FForm->Handle());
        return *FPainter;
    }

    template <class T>
    T* SkinnerOf(const TControl* control) {
        for (TSkinControl* s : FPainter->Controls())
            if (s->Control() == control)
                return dynamic_cast<T*>(s);
        return nullptr;
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TForm, TObjectDeleter> FForm;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FPainter;
};

// Records the messages that reach the control itself, behind its skinner.
struct TMessageRecorder {
    explicit TMessageRecorder(TControl& control) : Control(control), Previous(control.WindowProc) {
        control.WindowProc = TWndMethod(this, &TMessageRecorder::Record);
    }
    void Record(TMessage& message) {
        Seen.push_back(message.Msg);
        Previous(message);
    }
    int Count(UINT msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }
    TControl& Control;
    TWndMethod Previous;
    std::vector<UINT> Seen;
};

} // namespace

TEST_F(SkinControlTest, SkinActiveSwitchesSkinPaintingWithoutReachingTheControl) {
    auto* panel = Add<TPanel>(10, 10, 60, 40);
    panel->SetColor(clWhite);
    TMessageRecorder recorder(*panel);
    auto* skinner = new TRedSkinner(panel);
    skinner->AttachControl(&Painter(), FSkin.get(), false, FPainter->ControlCanvas());
    PumpPending();
    EXPECT_EQ(PixelOf(panel->Handle(), 30, 20), RGB(255, 0, 0));

    SendMessageA(panel->Handle(), WMS_SKINACTIVE, 0, 0);
    panel->Repaint();
    EXPECT_EQ(PixelOf(panel->Handle(), 30, 20), RGB(255, 255, 255)) << "native look while switched off";
    EXPECT_EQ(SendMessageA(panel->Handle(), WMS_ISSKINNED, 0, 0), 0) << "messages go straight to the control";

    SendMessageA(panel->Handle(), WMS_SKINACTIVE, 1, 0);
    EXPECT_EQ(PixelOf(panel->Handle(), 30, 20), RGB(255, 0, 0)) << "repainted skinned at once";
    EXPECT_EQ(SendMessageA(panel->Handle(), WMS_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(recorder.Count(WMS_SKINACTIVE), 0);
    TObject::Free(panel); // before the recorder the skinner calls goes
}

TEST_F(SkinControlTest, AttachingTwiceChangesNothingTheSecondTime) {
    auto* panel = Add<TPanel>(10, 10, 60, 40);
    auto* skinner = new TRedSkinner(panel);
    TWinSkinForm& painter = Painter();
    skinner->AttachControl(&painter, FSkin.get(), true, painter.ControlCanvas());
    const TWndMethod hooked = panel->WindowProc;
    panel->SetColor(clLime);
    skinner->AttachControl(&painter, FSkin.get(), true, painter.ControlCanvas());
    EXPECT_TRUE(panel->WindowProc == hooked);
    EXPECT_EQ(painter.Controls().size(), 1u);
    EXPECT_EQ(panel->Color(), clLime) << "the second attach took the colour again";
}

TEST_F(SkinControlTest, AControlDestroyedWhileSkinnedIsPurgedWithoutAnotherDetach) {
    auto* panel = Add<TPanel>(10, 10, 60, 40);
    const TWndMethod original = panel->WindowProc;
    auto* skinner = new TRedSkinner(panel);
    TWinSkinForm& painter = Painter();
    skinner->AttachControl(&painter, FSkin.get(), false, painter.ControlCanvas());
    panel->DestroyHandle();
    ASSERT_EQ(painter.Controls().size(), 1u);
    EXPECT_EQ(skinner->State(), TSkinControl::stDestroyed);
    EXPECT_EQ(skinner->Detaches, 1) << "WM_NCDESTROY detaches once";
    const int owned = panel->ComponentCount();
    painter.PurgeDestroyedControls();
    EXPECT_TRUE(painter.Controls().empty());
    EXPECT_EQ(panel->ComponentCount(), owned - 1) << "the skinner was freed";
    EXPECT_TRUE(panel->WindowProc == original) << "the control's own handler is back";
}

TEST_F(SkinControlTest, ParentBackgroundIsSwitchedOffWhileSkinnedUnlessTheOptionsKeepIt) {
    for (const bool keep : {false, true}) {
        TSkinOptions options = FSkin->Options();
        keep ? options.Include(xoParentBackGround) : options.Exclude(xoParentBackGround);
        FSkin->SetOptions(options);
        auto* panel = Add<TPanel>(10, 10, 60, 40);
        panel->SetParentBackground(true);
        auto* skinner = new TRedSkinner(panel);
        skinner->AttachControl(&Painter(), FSkin.get(), true, FPainter->ControlCanvas());
        EXPECT_EQ(GetEnumText(panel, "ParentBackground"), keep ? "true" : "false") << keep;
        EXPECT_EQ(skinner->Variant(), keep ? 0 : 1) << keep;
        EXPECT_EQ(panel->Color(), static_cast<TColor>(kFace)) << keep;
        skinner->Detach();
        EXPECT_EQ(GetEnumText(panel, "ParentBackground"), "true") << keep;
        TObject::Free(panel);
    }
}

TEST_F(SkinControlTest, MouseDownReachesTheControlWithTheCoordinatesOfThePress) {
    auto* panel = Add<TPanel>(0, 0, 200, 40);
    struct TClicks {
        void Down(TObject*, TMouseButton, TShiftState, int x, int y) {
            X = x;
            Y = y;
        }
        int X = -1, Y = -1;
    } clicks;
    panel->OnMouseDown = TMouseEvent(&clicks, &TClicks::Down);
    auto* skinner = new TRedSkinner(panel);
    skinner->AttachControl(&Painter(), FSkin.get(), false, FPainter->ControlCanvas());
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(33, 4));
    EXPECT_EQ(clicks.X, 33);
    EXPECT_EQ(clicks.Y, 4);
}

TEST(SkinControlRoutines, ControlsBeyond16BitsTakeTheMouseDownPointFromTheCursor) {
    // Windows this large cannot be made here (the system clamps sizes to 32767).
    const POINT cursor{40000, 12};
    const LPARAM wrapped = MAKELPARAM(40000 & 0xFFFF, 12);
    EXPECT_EQ(MouseDownPoint(wrapped, 0x8001, 40, cursor).x, 40000);
    EXPECT_EQ(MouseDownPoint(MAKELPARAM(5, 6), 40, 0x8001, cursor).y, 12);
    const POINT usual = MouseDownPoint(MAKELPARAM(0xFFF0, 7), 0x8000, 40, cursor);
    EXPECT_EQ(usual.x, -16) << "signed halves";
    EXPECT_EQ(usual.y, 7);
}

TEST_F(SkinControlTest, DiscoveryHonoursTagsTheSkin3rdMapAndTheApplicationsOwnSkinners) {
    auto* plain = Add<TPanel>(0, 0, 50, 50);
    plain->SetColor(clLime);
    auto* disabled = Add<TPanel>(60, 0, 50, 50);
    disabled->SetColor(clLime);
    disabled->SetTag(99);
    auto* group = Add<TRzRadioGroup>(120, 0, 80, 80);
    group->SetTag(99);
    auto* inGroup = new TRadioButton(FForm.get());
    inGroup->SetParent(group);
    auto* nil = Add<TNilPanel>(0, 100, 50, 50);
    FSkin->Skin3rd()->Add("TNilPanel=nil");
    auto* own = Add<TPanel>(60, 100, 50, 50);
    struct THandler {
        void Skin(TComponent*, TSkinData*, TControl*, TControl* control, const std::string& cls,
                  TComponent*& skinned) {
            Classes.push_back(cls);
            if (control == Own)
                skinned = Supplied = new TRedSkinner(control);
        }
        TControl* Own = nullptr;
        TRedSkinner* Supplied = nullptr;
        std::vector<std::string> Classes;
    } handler;
    handler.Own = own;
    FSkin->OnSkinControl = TOnSkinControl(&handler, &THandler::Skin);

    Skin();
    EXPECT_NE(SkinnerOf<TSkinBox>(plain), nullptr);
    EXPECT_EQ(plain->Color(), static_cast<TColor>(kFace));
    EXPECT_EQ(SkinnerOf<TSkinControl>(disabled), nullptr);
    EXPECT_EQ(disabled->Color(), clLime);
    EXPECT_EQ(SkinnerOf<TSkinControl>(group), nullptr);
    EXPECT_EQ(inGroup->Tag(), 99) << "buttons of a disabled radio group are disabled too";
    EXPECT_EQ(SkinnerOf<TSkinControl>(nil), nullptr) << "nil in the Skin3rd map beats the panel row";
    ASSERT_NE(handler.Supplied, nullptr);
    EXPECT_EQ(SkinnerOf<TRedSkinner>(own), handler.Supplied) << "the application's skinner is attached";
    EXPECT_TRUE(handler.Supplied->Attached());
    EXPECT_NE(std::find(handler.Classes.begin(), handler.Classes.end(), "TPANEL"), handler.Classes.end());

    FPainter->DetachRestore();
    EXPECT_TRUE(FPainter->Controls().empty());
    EXPECT_EQ(plain->Color(), clLime) << "the panel has its colour back";
}

TEST_F(SkinControlTest, AForeignWindowsSizeGripAndEmbeddedDialogAreCoveredInTheFaceColour) {
    skinformtest::TTestWindow top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200, nullptr, L"foreign");
    HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 10, 10, 20, 20,
                                top.Handle(), nullptr, nullptr, nullptr);
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_CHILD | WS_VISIBLE, 60, 10, 100, 60, top.Handle(),
                                  nullptr, nullptr, nullptr);
    HWND label = CreateWindowExA(0, "Static", "text", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, dialog, nullptr,
                                 nullptr, nullptr);
    auto painter = skinformtest::SkinWindow(top.Handle(), *FSkin);
    ASSERT_EQ(painter->Controls().size(), 2u);
    EXPECT_TRUE(painter->FindControl(grip) && painter->FindControl(grip)->ClassNameIs("TSkinSizer"));
    EXPECT_TRUE(painter->FindControl(dialog) && painter->FindControl(dialog)->ClassNameIs("TSkinBoxH"));
    RedrawWindow(top.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(PixelOf(grip, 10, 10), kFace);
    EXPECT_EQ(PixelOf(dialog, 80, 50), kFace);
    TWindowDC dc(label);
    EXPECT_EQ(SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                           reinterpret_cast<LPARAM>(label)),
              reinterpret_cast<LRESULT>(FSkin->Elements().ButtonFaceBrush.Get()));
    painter->DetachRestore();
    EXPECT_TRUE(painter->Controls().empty());
}

TEST_F(SkinControlTest, ToolbarButtonsShowTheButtonFramesOfTheirStateOverTheToolbarImage) {
    FSkin->SetOptions(TSkinOptions{xoPreview}); // the toolbar image is drawn without xoToolbarBK
    auto* toolbar = Add<TToolBar>(0, 0, 200, 30);
    toolbar->SetAlign(alTop);
    toolbar->SetButtonWidth(40);
    toolbar->SetButtonHeight(24);
    for (int i = 0; i < 2; ++i) {
        auto* button = new TToolButton(FForm.get());
        button->SetParent(toolbar);
    }
    PumpPending();
    Skin();
    ASSERT_NE(SkinnerOf<TSkinBox>(toolbar), nullptr);
    EXPECT_TRUE(toolbar->Flat());
    const HWND bar = toolbar->Handle();
    const RECT first = toolbar->Buttons(0)->BoundsRect();
    const RECT second = toolbar->Buttons(1)->BoundsRect();
    auto centre = [bar](const RECT& r) {
        return PixelOf(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    auto frameColor = [](char letter) { return static_cast<COLORREF>(skintest::ColorOf(letter)); };

    const int firstId = static_cast<int>(SendMessageA(bar, TB_GETHOTITEM, 0, 0)); // none hot: -1
    EXPECT_EQ(firstId, -1);
    SendMessageA(bar, TB_SETHOTITEM, 1, 0);
    UpdateWindow(bar);
    EXPECT_EQ(centre(second), frameColor('Y')) << "the hot button shows frame 4";

    TBBUTTON info{};
    SendMessageA(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(bar, TB_PRESSBUTTON, info.idCommand, TRUE);
    UpdateWindow(bar);
    EXPECT_EQ(centre(first), frameColor('G')) << "the pressed button shows frame 2";

    // The background: the toolbar image (a gradient from the frame colour) under the buttons.
    TBitmap& image = FSkin->Elements().Toolbar->Bitmap;
    const RECT client = toolbar->ClientRect();
    const int y = client.bottom / 2;
    const COLORREF shown = PixelOf(bar, client.right - 3, y);
    const int row = y * image.Height() / client.bottom;
    bool fromImage = false;
    for (int r = std::max(0, row - 1); r <= std::min(image.Height() - 1, row + 1); ++r)
        fromImage = fromImage || static_cast<COLORREF>(image.Canvas()->Pixels(0, r)) == shown;
    EXPECT_TRUE(fromImage) << std::hex << shown;

    FPainter->DetachRestore();
    EXPECT_FALSE(toolbar->OnCustomDraw.Assigned());
    EXPECT_FALSE(toolbar->OnCustomDrawButton.Assigned());
}

TEST_F(SkinControlTest, AThousandAttachAndDetachCyclesKeepTheHandleCounts) {
    ASSERT_TRUE(THandleCounter::Install());
    Add<TPanel>(0, 0, 50, 50);
    auto* toolbar = Add<TToolBar>(0, 0, 200, 30);
    (new TToolButton(FForm.get()))->SetParent(toolbar);
    HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 250, 150, 16, 16,
                                FForm->Handle(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(grip);
    auto cycle = [this] {
        Skin();
        FPainter->DetachRestore();
        FPainter.reset();
    };
    cycle();
    PumpPending();
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 1000; ++i)
        cycle();
    PumpPending();
    EXPECT_EQ(THandleCounter::Current(), before)
        << THandleCounter::Current().ToString() << " vs " << before.ToString();
}

// ---- the unit routines --------------------------------------------------------------------------

TEST(SkinControlRoutines, PropertiesByNameNeverFailForMissingObjectsOrProperties) {
    TPanel panel(nullptr);
    panel.SetColor(clRed);
    panel.SetCaption("caption");
    EXPECT_EQ(GetIntProp(&panel, "color"), clRed);
    EXPECT_EQ(GetIntProp(&panel, "NoSuch"), -1);
    EXPECT_EQ(GetIntProp(nullptr, "Color"), -1);
    EXPECT_EQ(GetIntProp(&panel, "Caption"), -1) << "not an integer";
    EXPECT_EQ(GetEnumText(&panel, "Visible"), "true");
    EXPECT_EQ(GetEnumText(&panel, "Align"), "alnone");
    EXPECT_EQ(GetEnumText(&panel, "Color"), "");
    EXPECT_EQ(GetTextProp(&panel, "Caption"), L"caption");
    EXPECT_EQ(GetTextProp(&panel, "Color"), L"");
    EXPECT_NE(GetObjectPropOf(&panel, "Font", TFont::StaticClass()), nullptr);
    EXPECT_EQ(GetObjectPropOf(&panel, "Font", TPanel::StaticClass()), nullptr);
    EXPECT_EQ(GetObjectPropOf(nullptr, "Font"), nullptr);
    SetPropText(&panel, "Color", "255");
    EXPECT_EQ(panel.Color(), 255);
    SetPropText(&panel, "Color", "not a number");
    EXPECT_EQ(panel.Color(), 255);
    SetPropText(&panel, "Align", "alTop");
    EXPECT_EQ(panel.Align(), alTop);
    SetPropText(&panel, "Align", "alNowhere");
    EXPECT_EQ(panel.Align(), alTop);
    SetPropText(&panel, "Caption", "new");
    EXPECT_EQ(panel.Caption(), "new");
    SetPropText(&panel, "NoSuch", "1");
    SetPropText(nullptr, "Color", "1");
    EXPECT_EQ(ReplaceFirst(std::string("a||b||c"), "||", "\n"), "a\nb||c");
    EXPECT_EQ(ReplaceFirst(std::wstring(L"abc"), L"x", L"y"), L"abc");
}

TEST(SkinControlRoutines, StripFramesAndElementsDrawTheirFrameWithTheKeyColourLeftOut) {
    auto strip = skintest::Picture({"RRGGBB", "RMGMBB"});
    auto surface = skintest::Surface(4, 4, clWhite);
    BlitStripFrame(surface->Canvas()->Handle(), TRect{0, 0, 4, 2}, 3, 2, *strip);
    DrawStripFrameDC(surface->Canvas()->Handle(), TRect{0, 2, 4, 4}, 3, 3, *strip);
    EXPECT_EQ(skintest::Letters(*surface), (std::vector<std::string>{"GGGG", "GGWW", "BBBB", "BBBB"}));

    TDataSkinObject element("Test");
    element.Bitmap.Assign(strip.get());
    element.Trans = 1;
    auto target = skintest::Surface(4, 2, clWhite);
    DrawElement(target->Canvas()->Handle(), TRect{0, 0, 2, 2}, 3, 1, element);
    DrawElement(target->Canvas()->Handle(), TRect{3, 0, 2, 2}, 3, 1, element); // inverted: nothing
    EXPECT_EQ(skintest::Letters(*target), (std::vector<std::string>{"RRWW", "RWWW"}));
}
