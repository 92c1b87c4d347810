// Combo boxes, edits, up-down buttons and date pickers as discovery skins them, with the
// program's skin and with a made skin of other sizes (a combo button without [SunkEdge], so
// drawn from its parts; up-down frames of their own colours): what the user sees is read
// back from the windows.
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassSpin.h"

#include "ComCtrlsSpin.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>

using namespace panelstest;
using skinformtest::PumpPending;
using skinformtest::PumpUntil;

namespace {

// The made skin's letters (see the test support's edit elements).
constexpr char kComboFrames[] = "RGBY";
constexpr char kVertFrames[] = "CKSLOPNT";
constexpr char kHorzFrames[] = "RGBYYRGB";

// comboStyle 1 asks for the flat box: the native box with the skin's glyph at its side.
std::vector<std::uint8_t> MadeSkinFile(int comboStyle = 0) {
    skinformtest::TSmallSkinOptions options;
    options.Edits = true;
    options.ComboStyle = comboStyle;
    return skinformtest::SmallSkinFile(options);
}

COLORREF Letter(char letter) {
    return ColorToRGB(skintest::ColorOf(letter));
}

COLORREF WindowPixel(HWND wnd, int x, int y) {
    TWindowDC dc(wnd, true);
    return GetPixel(dc.Get(), x, y);
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kKey = RGB(255, 0, 255);

class TEditsForm {
public:
    explicit TEditsForm(TSkinKind kind) : Kind(kind) {
        Skin = skinformtest::LoadedSkin(kind == TSkinKind::Program ? skinformtest::ProgramSkinFile()
                                                                   : MadeSkinFile());
        Skin->Skin3rd()->Add("TDateTimePicker=datetimepicker");
        Form.reset(new TForm(nullptr, TCreateNew{}));
        Form->SetBounds(50, 50, 420, 300);
        Form->Show();
        PumpPending();
    }
    ~TEditsForm() {
        Painter.reset();
        Form.reset();
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        auto* control = new T(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    void Start() {
        Painter.reset(new TWinSkinForm(Form.get()));
        Painter->SetHandle(Form->Handle());
        Painter->AttachForm(*Skin, Form.get());
        SendMessageA(Form->Handle(), WMS_SKINSTART, 0, 1000);
        PumpPending();
        // Nothing focused, so no button shows its focused frame.
        SetFocus(Form->Handle());
    }
    template <class T>
    T* SkinnerOf(HWND wnd) const {
        if (Painter)
            for (TSkinControl* skinner : Painter->Controls())
                if (skinner->Handle() == wnd)
                    return dynamic_cast<T*>(skinner);
        return nullptr;
    }
    const TSkinElements& Elements() const { return Skin->Elements(); }

    TSkinKind Kind;
    std::unique_ptr<TSkinData, TObjectDeleter> Skin;
    std::unique_ptr<TForm, TObjectDeleter> Form;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> Painter;
};

// What the skin shows at (x, y) of a left-to-right combo box of that size in button frame
// `frame`: the composite of frame and button where the skin has one, else the made skin's
// solid button frames.
COLORREF ExpectedCombo(const TSkinElements& e, int frame, SIZE size, int x, int y) {
    TDataSkinBorder& button = *e.ComboButton;
    if (button.Style == 2)
        return ComposedPixel(button, button.Frame, frame, size.cx, size.cy, x, y);
    return Letter(kComboFrames[frame - 1]);
}

// A point of the drop-down button where frames 1 and 4 differ and neither is transparent.
std::optional<POINT> ButtonSpot(const TSkinElements& e, SIZE size) {
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    // Inside the box's 2-pixel edge, where the native button lies too.
    for (int y = 3; y < size.cy - 3; ++y)
        for (int x = size.cx - 3; x > size.cx - a; --x) {
            const COLORREF normal = ExpectedCombo(e, 1, size, x, y), hot = ExpectedCombo(e, 4, size, x, y);
            if (normal != hot && normal != kKey && hot != kKey)
                return POINT{x, y};
        }
    return std::nullopt;
}

void MouseAt(HWND wnd, POINT p) {
    POINT screen = p;
    ClientToScreen(wnd, &screen);
    SetCursorPos(screen.x, screen.y);
    PumpPending();
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

class SkinEdits : public ::testing::TestWithParam<TSkinKind> {
protected:
    TEditsForm F{GetParam()};
};

} // namespace

// ---- combo boxes --------------------------------------------------------------------------------

TEST_P(SkinEdits, ComboButtonLightsUpUnderTheMouseAndGoesBackOverTheTextArea) {
    auto* combo = F.Add<TComboBox>(10, 10, 140, 24);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("C:\\");
    F.Start();
    const HWND wnd = combo->Handle();
    auto* skinner = F.SkinnerOf<TSkinComBox>(wnd);
    ASSERT_NE(skinner, nullptr);
    Repaint(wnd);
    const SIZE size = skinformtest::WindowSize(wnd);
    const auto spot = ButtonSpot(F.Elements(), size);
    ASSERT_TRUE(spot) << "the skin's normal and hot buttons look alike";
    auto shows = [&](int frame) {
        return PumpUntil([&] {
            return WindowPixel(wnd, spot->x, spot->y) ==
                   ExpectedCombo(F.Elements(), frame, size, spot->x, spot->y);
        });
    };
    EXPECT_TRUE(shows(1));
    MouseAt(wnd, *spot);
    EXPECT_TRUE(skinner->Hot());
    EXPECT_TRUE(shows(4)) << "hot";
    MouseAt(wnd, POINT{5, size.cy / 2});
    EXPECT_FALSE(skinner->Hot());
    EXPECT_TRUE(shows(1)) << "over the text area";
    MouseAt(wnd, *spot);
    SendMessageA(wnd, CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(shows(1)) << "the mouse left the box";

    // The list drops down and closes, and the skinner follows it.
    SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(skinner->Dropped());
    SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(skinner->Dropped());
}

// The flat style keeps the native box: a one-pixel frame in the shadow colour and the button
// glyph inside its 2-pixel edge at the right, lit under the mouse.
TEST(SkinEditsFlat, AFlatBoxShowsTheGlyphInsideAShadowFrameAndLightsItUnderTheMouse) {
    TEditsForm f(TSkinKind::Made);
    f.Skin = skinformtest::LoadedSkin(MadeSkinFile(1));
    auto* combo = f.Add<TComboBox>(10, 10, 140, 24);
    combo->SetStyle(csDropDownList);
    f.Start();
    const HWND wnd = combo->Handle();
    auto* skinner = f.SkinnerOf<TSkinComBox>(wnd);
    ASSERT_NE(skinner, nullptr);
    Repaint(wnd);
    const SIZE size = skinformtest::WindowSize(wnd);
    const COLORREF shadow = ColorToRGB(static_cast<TColor>(f.Elements().Colors.ButtonShadow));
    ASSERT_NE(shadow, ColorToRGB(clBtnShadow)) << "the made skin's shadow colour is the system's";
    EXPECT_EQ(WindowPixel(wnd, 0, size.cy / 2), shadow);
    EXPECT_EQ(WindowPixel(wnd, size.cx / 2, size.cy - 1), shadow);
    // The glyph: the last 9 columns inside the edge, its own 15 rows high from the top.
    const POINT glyph{size.cx - 2 - 5, 2 + 7};
    EXPECT_EQ(WindowPixel(wnd, glyph.x, glyph.y), Letter(kComboFrames[0]));
    EXPECT_EQ(WindowPixel(wnd, size.cx - 2 - 10, glyph.y), WindowPixel(wnd, size.cx / 2, glyph.y))
        << "left of the glyph the box is its own";
    MouseAt(wnd, glyph);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(wnd, glyph.x, glyph.y) == Letter(kComboFrames[3]); }));
}

TEST_P(SkinEdits, ADropDownBoxKeepsItsTypingAndIsRedrawnAfterItsEditPaints) {
    auto* combo = F.Add<TComboBox>(10, 10, 140, 24);
    const HWND wnd = combo->Handle();
    const HWND edit = GetTopWindow(wnd);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR native = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    F.Start();
    EXPECT_NE(GetWindowLongPtrA(edit, GWLP_WNDPROC), native);
    auto* skinner = F.SkinnerOf<TSkinComBox>(wnd);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->EditWnd(), edit);
    for (char c : std::string("E:\\"))
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(combo->Text(), "E:\\");

    const SIZE size = skinformtest::WindowSize(wnd);
    const auto spot = ButtonSpot(F.Elements(), size);
    ASSERT_TRUE(spot);
    const COLORREF normal = ExpectedCombo(F.Elements(), 1, size, spot->x, spot->y);
    // Only the edit repaints; the box's button is drawn again after it.
    HDC dc = GetWindowDC(wnd);
    TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT spotRect{spot->x, spot->y, spot->x + 1, spot->y + 1};
    FillRect(dc, &spotRect, red.Get());
    ReleaseDC(wnd, dc);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(wnd, spot->x, spot->y) == normal; }));

    F.Painter->DetachRestore();
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), native) << "the edit's own procedure is back";
    SendMessageA(edit, WM_CHAR, 'X', 1);
    EXPECT_EQ(combo->Text(), "E:\\X") << "the edit still works once let go";
}

TEST_P(SkinEdits, ARightToLeftBoxShowsTheMirroredButtonAtItsLeft) {
    skinformtest::TTestWindow parent(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200);
    const HWND wnd =
        CreateWindowExA(WS_EX_LEFTSCROLLBAR, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10,
                        140, 200, parent.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    auto painter = skinformtest::SkinWindow(parent.Handle(), *F.Skin);
    ASSERT_NE(F.Painter.get(), painter.get());
    bool skinned = false;
    for (TSkinControl* skinner : painter->Controls())
        skinned |= skinner->Handle() == wnd && dynamic_cast<TSkinComBox*>(skinner);
    ASSERT_TRUE(skinned);
    Repaint(wnd);
    const SIZE size = skinformtest::WindowSize(wnd);
    const auto spot = ButtonSpot(F.Elements(), size);
    ASSERT_TRUE(spot);
    // The left-to-right picture turned about the middle, at rest.
    const int x = size.cx - 1 - spot->x;
    EXPECT_EQ(WindowPixel(wnd, x, spot->y), ExpectedCombo(F.Elements(), 1, size, spot->x, spot->y));
    painter.reset();
    DestroyWindow(wnd);
}

// ---- edits ------------------------------------------------------------------------------------

TEST_P(SkinEdits, OnlyAnEditWithABorderGetsTheFlatSkinBorder) {
    struct TCase {
        DWORD Style, ExStyle;
        bool Bordered;
    };
    const TColor shadow = static_cast<TColor>(F.Elements().Colors.ButtonShadow);
    for (const TCase& c : {TCase{0, WS_EX_CLIENTEDGE, true}, TCase{0, 0, false}}) {
        skinformtest::TTestWindow parent(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200);
        const HWND edit =
            CreateWindowExA(c.ExStyle, "Edit", "text", WS_CHILD | WS_VISIBLE | c.Style, 10, 10, 120, 24,
                            parent.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        Repaint(edit);
        const COLORREF before = WindowPixel(edit, 0, 12);
        auto painter = skinformtest::SkinWindow(parent.Handle(), *F.Skin);
        Repaint(edit);
        if (c.Bordered) {
            EXPECT_EQ(WindowPixel(edit, 0, 12), ColorToRGB(shadow)) << c.Style;
            EXPECT_EQ(WindowPixel(edit, 60, 1), kWhite) << c.Style;
            EXPECT_EQ(WindowPixel(edit, 2, 12), kWhite) << c.Style;
        } else {
            EXPECT_EQ(WindowPixel(edit, 0, 12), before) << "a borderless edit is left alone";
        }
        painter.reset();
        DestroyWindow(edit);
    }
}

TEST_P(SkinEdits, SpinButtonsInsideAnEditKeepThreePixelsFromItsEdges) {
    skinformtest::TTestWindow parent(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200);
    const HWND edit = CreateWindowExA(0, "Edit", "5", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 30,
                                      parent.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    InitCommonControls();
    const SIZE client = skinformtest::ClientSize(edit);
    // Flush with the edit's client area: one pixel (the border) from the edit's edges.
    const HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, client.cx - 16, 0, 16,
                                      client.cy, edit, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(spin, nullptr);
    auto painter = skinformtest::SkinWindow(parent.Handle(), *F.Skin);
    TSkinEdit* skinner = nullptr;
    for (TSkinControl* s : painter->Controls())
        if (s->Handle() == edit)
            skinner = dynamic_cast<TSkinEdit*>(s);
    ASSERT_NE(skinner, nullptr);
    Repaint(edit);
    ASSERT_NE(skinner->Spin(), nullptr) << "the spin button was not found";
    EXPECT_TRUE(skinner->Spin()->InEdit());
    Repaint(spin);
    // Measured from the edit's edges: 3 pixels of the edit's white, then the buttons.
    RECT e{}, u{};
    GetWindowRect(edit, &e);
    GetWindowRect(spin, &u);
    const int top = std::max(0, 3 - static_cast<int>(u.top - e.top));
    const int bottom =
        static_cast<int>(u.bottom - u.top) - std::max(0, 3 - static_cast<int>(e.bottom - u.bottom));
    const int right =
        static_cast<int>(u.right - u.left) - std::max(0, 3 - static_cast<int>(e.right - u.right));
    const int x = right - 2, y = top + 1; // off the glyph
    if (top > 0) {
        EXPECT_EQ(WindowPixel(spin, x, top - 1), kWhite);
    }
    EXPECT_EQ(WindowPixel(spin, x, bottom), kWhite);
    EXPECT_EQ(WindowPixel(spin, right, y), kWhite);
    const COLORREF inside = WindowPixel(spin, x, y);
    EXPECT_NE(inside, kWhite);
    EXPECT_NE(WindowPixel(spin, x, bottom - 1), kWhite);
    EXPECT_NE(WindowPixel(spin, right - 1, y), kWhite);
    if (F.Kind == TSkinKind::Made) {
        EXPECT_EQ(inside, Letter(kVertFrames[0])) << "frame 1 of the up button";
    }
    painter.reset();
    DestroyWindow(edit);
}

// ---- up-down buttons ------------------------------------------------------------------------------

TEST(SkinUpDownFrames, EachHalfShowsItsDirectionsFrameForItsState) {
    TEditsForm f(TSkinKind::Made);
    struct TCase {
        TUDOrientation Orientation;
        bool ForceHorz;
        const char* Frames; // the skin's 8 frames of that orientation
    };
    for (const TCase& c : {TCase{udVertical, false, kVertFrames}, TCase{udHorizontal, false, kHorzFrames},
                           TCase{udVertical, true, kHorzFrames}}) {
        auto* ud = f.Add<TUpDown>(10, 10, 40, 40);
        ud->SetOrientation(c.Orientation);
        f.Start();
        const HWND wnd = ud->Handle();
        auto* skinner = f.SkinnerOf<TSkinUpDown>(wnd);
        ASSERT_NE(skinner, nullptr);
        skinner->SetForceHorz(c.ForceHorz);
        const bool lying = c.Orientation == udHorizontal || c.ForceHorz;
        EXPECT_EQ(skinner->Horizontal(), lying);
        // A point in each half, off the glyph.
        const POINT first{3, 3};
        const POINT second = lying ? POINT{23, 3} : POINT{3, 23};
        auto at = [&](POINT p) { return WindowPixel(wnd, p.x, p.y); };
        MouseAt(wnd, second);
        Repaint(wnd);
        EXPECT_EQ(at(first), Letter(c.Frames[0])) << "normal " << c.Orientation << c.ForceHorz;
        EXPECT_EQ(at(second), Letter(c.Frames[7])) << "hot";
        const LPARAM where = MAKELPARAM(second.x, second.y);
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
        EXPECT_EQ(at(second), Letter(c.Frames[5])) << "pressed";
        SendMessageA(wnd, WM_LBUTTONUP, 0, where);
        EXPECT_EQ(at(second), Letter(c.Frames[7])) << "released";
        ud->SetEnabled(false);
        Repaint(wnd);
        EXPECT_EQ(at(first), Letter(c.Frames[2])) << "disabled";
        EXPECT_EQ(at(second), Letter(c.Frames[6])) << "disabled";
        f.Painter.reset();
        TObject::Free(ud);
    }
}

// ---- date pickers ---------------------------------------------------------------------------------

TEST_P(SkinEdits, TheDatePickersCoverArrowOpensItsCalendar) {
    auto* picker = F.Add<TDateTimePicker>(10, 10, 160, 24);
    auto* spinPicker = F.Add<TDateTimePicker>(10, 50, 160, 24);
    spinPicker->SetDateMode(dmUpDown);
    F.Start();
    const HWND wnd = picker->Handle();
    auto* skinner = F.SkinnerOf<TSkinDateTime>(wnd);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(F.SkinnerOf<TSkinDateTime>(spinPicker->Handle()), nullptr);
    EXPECT_EQ(F.SkinnerOf<TSkinDateTime>(spinPicker->Handle())->Arrow(), nullptr)
        << "a picker with spin buttons has no drop-down button to cover";
    TArrowButton* arrow = skinner->Arrow();
    ASSERT_NE(arrow, nullptr);
    const HWND cover = arrow->Handle();
    EXPECT_EQ(GetParent(cover), wnd);
    EXPECT_TRUE(IsWindowVisible(cover));
    const int size = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(arrow->Left(), skinformtest::WindowSize(wnd).cx - size - 4);
    EXPECT_EQ(arrow->Height(), size + 1);
    Repaint(wnd);
    const POINT centre{size / 2, size / 2};
    if (F.Kind == TSkinKind::Made) {
        EXPECT_EQ(WindowPixel(cover, 1, 1), Letter(kComboFrames[0]));
        arrow->Perform(CM_MOUSEENTER);
        PumpPending();
        EXPECT_EQ(WindowPixel(cover, 1, 1), Letter(kComboFrames[3])) << "hot";
        arrow->Perform(CM_MOUSELEAVE);
        PumpPending();
        EXPECT_EQ(WindowPixel(cover, 1, 1), Letter(kComboFrames[0]));
    }
    const HWND calendar = picker->CalendarWindow();
    EXPECT_FALSE(calendar && IsWindowVisible(calendar));
    PostMessageA(cover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    PostMessageA(cover, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_TRUE(PumpUntil([&] {
        const HWND shown = picker->CalendarWindow();
        return shown && IsWindowVisible(shown);
    })) << "the calendar did not open";
    // Closed again as the user closes it.
    if (const HWND shown = picker->CalendarWindow())
        SendMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinEdits, ::testing::Values(TSkinKind::Program, TSkinKind::Made), SkinName);
