// Controls over real windows: window classes, the control property, WindowProc replacement,
// framework messages, reflection, alignment, tab order and mouse handling.
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records the messages a control's WindowProc sees and passes them on (or swallows some).
struct Recorder : TObject {
    TControl* control;
    TWndMethod old;
    std::vector<UINT> seen;
    UINT swallow = 0;
    explicit Recorder(TControl* c) : control(c), old(c->WindowProc) {
        c->WindowProc = TWndMethod(this, &Recorder::Hook);
    }
    ~Recorder() override { control->WindowProc = old; }
    void Hook(TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == swallow)
            return;
        old(m);
    }
    bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(50, 50, 400, 300);
        form->SetCaption("controls");
        panel = new TPanel(form.get());
        panel->SetName("Panel1");
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 200, 100);
        button = new TButton(form.get());
        button->SetName("Button1");
        button->SetParent(panel);
        button->SetBounds(5, 5, 80, 25);
        button->SetCaption("&Go");
        edit = new TEdit(form.get());
        edit->SetName("Edit1");
        edit->SetParent(form.get());
        edit->SetBounds(10, 150, 100, 21);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm, TObjectDeleter> form;
    TPanel* panel = nullptr;
    TButton* button = nullptr;
    TEdit* edit = nullptr;
};

std::string WindowClassName(HWND wnd) {
    char name[128] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

TEST_F(ControlsTest, WindowClassesAreNamedAfterTheControlClasses) {
    EXPECT_EQ(WindowClassName(form->Handle()), "TForm");
    EXPECT_EQ(WindowClassName(panel->Handle()), "TPanel");
    EXPECT_EQ(WindowClassName(button->Handle()), "TButton");
    EXPECT_EQ(WindowClassName(edit->Handle()), "TEdit");
    // Superclassed: the windows behave as the standard classes they wrap.
    EXPECT_TRUE(SendMessageA(button->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    EXPECT_TRUE(SendMessageA(edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
    EXPECT_EQ(edit->Text(), "typed");
    EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
}

TEST_F(ControlsTest, EveryToolkitWindowCarriesItsControlUnderControlAtom) {
    char name[64] = {};
    ASSERT_GT(GlobalGetAtomNameA(ControlAtom(), name, sizeof name), 0u);
    char expected[64];
    snprintf(expected, sizeof expected, "ControlOfs%.8llX%.8lX",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
             static_cast<unsigned long>(GetCurrentThreadId()));
    EXPECT_STREQ(name, expected);
    for (TWinControl* c : {static_cast<TWinControl*>(form.get()), static_cast<TWinControl*>(panel),
                           static_cast<TWinControl*>(button), static_cast<TWinControl*>(edit)}) {
        EXPECT_EQ(GetPropA(c->Handle(), MAKEINTATOM(ControlAtom())), static_cast<HANDLE>(c)) << c->Name();
        EXPECT_EQ(FindControl(c->Handle()), c);
    }
    EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
    EXPECT_EQ(FindVCLWindow(button->Handle()), button);
}

TEST_F(ControlsTest, ReplacedWindowProcSeesMessagesFirstAndRestoringGivesTheOriginalBack) {
    {
        Recorder rec(button);
        rec.swallow = WM_SETTEXT;
        SendMessageA(button->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("swallowed"));
        EXPECT_TRUE(rec.Saw(WM_SETTEXT));
        EXPECT_EQ(button->Caption(), "&Go");
        button->SetCaption("Perform too"); // the toolkit's own calls go through WindowProc as well
        EXPECT_EQ(button->Caption(), "&Go");
    }
    SendMessageA(button->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("restored"));
    EXPECT_EQ(button->Caption(), "restored");
    EXPECT_TRUE(button->WindowProc == TWndMethod(button, &TControl::WndProc));
}

TEST_F(ControlsTest, FrameworkMessagesAreSentWhereStateChanges) {
    Recorder rec(edit);
    edit->SetEnabled(false);
    EXPECT_TRUE(rec.Saw(0xB00C));
    EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
    edit->SetEnabled(true);
    edit->SetVisible(false);
    EXPECT_TRUE(rec.Saw(0xB00B));
    EXPECT_FALSE(IsWindowVisible(edit->Handle()));
    edit->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));

    SendMessageA(edit->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(rec.Saw(0xB013));
    SendMessageA(edit->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(rec.Saw(0xB014));

    HWND before = edit->Handle();
    edit->SetText("kept");
    edit->Perform(0xB033);
    EXPECT_NE(edit->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(FindControl(edit->Handle()), edit);
}

TEST_F(ControlsTest, FocusChangesSendEnterExitAndFocusChanged) {
    Recorder onForm(form.get());
    Recorder onButton(button);
    button->SetFocus();
    Application->ProcessMessages();
    edit->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(onForm.Saw(0xB007));
    EXPECT_TRUE(onButton.Saw(0xB01B)); // exit
    EXPECT_EQ(form->ActiveControl(), edit);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(ControlsTest, TabAndAcceleratorsGoThroughDialogKeyAndDialogChar) {
    edit->SetFocus();
    Application->ProcessMessages();
    Recorder onForm(form.get());
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(onForm.Saw(0xB005));
    EXPECT_TRUE(button->Focused() || panel->Focused()) << "focus moved on";

    int clicks = 0;
    struct Counter : TObject {
        int* n;
        explicit Counter(int* c) : n(c) {}
        void Click(TObject*) { ++*n; }
    } counter(&clicks);
    button->OnClick = TNotifyEvent(&counter, &Counter::Click);
    PostMessageA(edit->Handle(), WM_SYSCHAR, 'g', 0x20000000);
    Application->ProcessMessages();
    EXPECT_TRUE(onForm.Saw(0xB006));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
    auto* cancel = new TButton(form.get());
    cancel->SetParent(form.get());
    cancel->SetCancel(true);
    button->SetDefault(true);
    std::vector<std::string> clicks;
    struct Log : TObject {
        std::vector<std::string>* out;
        void Default(TObject*) { out->push_back("default"); }
        void Cancel(TObject*) { out->push_back("cancel"); }
    } log;
    log.out = &clicks;
    button->OnClick = TNotifyEvent(&log, &Log::Default);
    cancel->OnClick = TNotifyEvent(&log, &Log::Cancel);
    edit->SetFocus();
    Application->ProcessMessages();
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, (std::vector<std::string>{"default", "cancel"}));
    button->SetEnabled(false); // a disabled default button is not clicked
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(ControlsTest, NotificationsAreReflectedToTheChildAt0xBC00) {
    Recorder rec(button);
    int clicks = 0;
    struct Counter : TObject {
        int* n;
        explicit Counter(int* c) : n(c) {}
        void Click(TObject*) { ++*n; }
    } counter(&clicks);
    button->OnClick = TNotifyEvent(&counter, &Counter::Click);
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(rec.Saw(0xBC00 + WM_COMMAND));
    EXPECT_EQ(clicks, 1);
    NMHDR hdr{button->Handle(), 0, static_cast<UINT>(-2)}; // NM_CLICK
    SendMessageA(panel->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_TRUE(rec.Saw(0xBC4E));
}

TEST_F(ControlsTest, AlignPlacesTopBottomAndClientInsideTheClientArea) {
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto* top = new TPanel(form.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(form.get());
    auto* bottom = new TPanel(form.get());
    bottom->SetHeight(20);
    bottom->SetAlign(alBottom);
    bottom->SetParent(form.get());
    auto* client = new TPanel(form.get());
    client->SetAlign(alClient);
    client->SetParent(form.get());
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(top->BoundsRect().bottom, 30);
    EXPECT_EQ(top->Width(), 300);
    EXPECT_EQ(bottom->Top(), 180);
    EXPECT_EQ(client->Top(), 30);
    EXPECT_EQ(client->Height(), 150);
    form->SetClientHeight(260); // resizing realigns
    EXPECT_EQ(bottom->Top(), 240);
    EXPECT_EQ(client->Height(), 210);
    RECT r;
    GetWindowRect(client->Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 210);
}

TEST_F(ControlsTest, TabOrderCanBeChangedAndListed) {
    auto* second = new TEdit(form.get());
    second->SetParent(form.get());
    EXPECT_EQ(panel->TabOrder(), 0);
    EXPECT_EQ(edit->TabOrder(), 1);
    EXPECT_EQ(second->TabOrder(), 2);
    second->SetTabOrder(0);
    EXPECT_EQ(panel->TabOrder(), 1);
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<TWinControl*>{second, panel, button, edit}));
    EXPECT_EQ(form->FindNextControl(second, true, true, false), button); // panels are no tab stops
    EXPECT_EQ(form->FindNextControl(second, false, true, false), edit);
}

struct ClickProbe : TCustomControl {
    TW_DECLARE_CLASS(ClickProbe, TCustomControl)
    using TCustomControl::TCustomControl;
    std::vector<std::string> log;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y) +
                      (s.Contains(ssShift) ? " shift" : ""));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void Click() override {
        log.push_back("click");
        TCustomControl::Click();
    }
};
TClass ClickProbe::StaticClass() {
    static const TClassInfo info = TClassBuilder<ClickProbe>("ClickProbe").Build();
    return &info;
}

TEST_F(ControlsTest, MouseMessagesEndInMouseDownAndClick) {
    auto* probe = new ClickProbe(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(220, 10, 50, 50);
    SendMessageA(probe->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 9));
    SendMessageA(probe->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
    SendMessageA(probe->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-2, 3)); // signed coordinates
    EXPECT_EQ(probe->log, (std::vector<std::string>{"down 0 7,9 shift", "click", "down 1 -2,3"}));
    POINT screen = probe->ClientToScreen(POINT{7, 9});
    POINT back = probe->ScreenToClient(screen);
    EXPECT_EQ(back.x, 7);
    EXPECT_EQ(back.y, 9);
    POINT api{7, 9};
    ClientToScreen(probe->Handle(), &api);
    EXPECT_EQ(screen.x, api.x);
    EXPECT_EQ(screen.y, api.y);
}

TEST_F(ControlsTest, WindowlessControlsGetTheirMouseMessagesFromTheParent) {
    auto* label = new TLabel(form.get());
    label->SetParent(panel);
    label->SetBounds(100, 40, 60, 20);
    label->SetCaption("label");
    int clicks = 0;
    struct Counter : TObject {
        int* n;
        explicit Counter(int* c) : n(c) {}
        void Click(TObject*) { ++*n; }
    } counter(&clicks);
    label->OnClick = TNotifyEvent(&counter, &Counter::Click);
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 45));
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(110, 45));
    EXPECT_EQ(clicks, 1);
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 80)); // beside it
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 80));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ColourIsWhatTheWindowShows) {
    panel->SetColor(RGB(0x20, 0x80, 0xC0));
    panel->Repaint();
    HDC dc = GetDC(panel->Handle());
    EXPECT_EQ(GetPixel(dc, 150, 80), RGB(0x20, 0x80, 0xC0));
    ReleaseDC(panel->Handle(), dc);
    panel->SetDoubleBuffered(true);
    panel->SetColor(RGB(0x10, 0x90, 0x30));
    panel->Repaint();
    dc = GetDC(panel->Handle());
    EXPECT_EQ(GetPixel(dc, 150, 80), RGB(0x10, 0x90, 0x30));
    ReleaseDC(panel->Handle(), dc);
}

TEST_F(ControlsTest, BiDiModeParentBackgroundAndDoubleBufferedArePublished) {
    SetEnumProp(*panel, "BiDiMode", "bdRightToLeft");
    EXPECT_TRUE(GetWindowLongPtrA(panel->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    EXPECT_EQ(GetEnumProp(*button, "BiDiMode"), "bdRightToLeft"); // children follow their parent
    EXPECT_EQ(GetEnumProp(*panel, "ParentBackground"), "False");
    SetEnumProp(*panel, "ParentBackground", "True");
    EXPECT_TRUE(panel->ParentBackground());
    EXPECT_EQ(PropType(button, "ParentBackground"), tkUnknown); // buttons do not have it
    SetEnumProp(*panel, "DoubleBuffered", "True");
    EXPECT_TRUE(panel->DoubleBuffered());
}

TEST_F(ControlsTest, PropertiesByNameRoundTripOnControls) {
    SetPropValue(*button, "Caption", "OK");
    EXPECT_EQ(GetPropValue(*button, "caption"), "OK");
    char text[16] = {};
    GetWindowTextA(button->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "OK");
    SetPropValue(*button, "Width", "90");
    EXPECT_EQ(GetOrdProp(*button, "Width"), 90);
    SetPropValue(*panel, "Color", "clWhite");
    EXPECT_EQ(panel->Color(), clWhite);
    SetPropValue(*panel, "Align", "alBottom");
    EXPECT_EQ(panel->Align(), alBottom);
    SetPropValue(*button, "ModalResult", "mrOk");
    EXPECT_EQ(button->ModalResult(), mrOk);
    SetObjectProp(*form, "ActiveControl", edit);
    EXPECT_EQ(GetObjectProp(*form, "ActiveControl"), edit);
    SetPropValue(*form, "BorderIcons", "[biSystemMenu]");
    EXPECT_EQ(GetSetProp(*form, "BorderIcons"), "biSystemMenu");
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
}

TEST_F(ControlsTest, ExceptionsInHandlersReachTheApplicationAndMessagesGoOn) {
    struct Thrower : TObject {
        std::vector<std::string> reported;
        TObject* sender = nullptr;
        void Click(TObject*) { throw EConvertError("bad input"); }
        void Report(TObject* s, const Exception& e) {
            sender = s;
            reported.push_back(e.Message());
        }
    } thrower;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = TExceptionEvent(&thrower, &Thrower::Report);
    button->OnClick = TNotifyEvent(&thrower, &Thrower::Click);
    PostMessageA(button->Handle(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(thrower.reported, (std::vector<std::string>{"bad input"}));
    // The program keeps running: later messages are handled as usual.
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still alive"));
    EXPECT_EQ(edit->Text(), "still alive");
    Application->OnException = saved;
}

TEST_F(ControlsTest, FreeingAControlDestroysItsWindowAndLeavesItsParent) {
    HWND wnd = button->Handle();
    TObject::Free(panel);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(form->FindComponent("Button1"), nullptr);
    EXPECT_EQ(form->ControlCount(), 1);
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<TWinControl*>{edit}));
}

} // namespace

// ---- range bars -------------------------------------------------------------------------------

TEST_F(ControlsTest, RangeBarsKeepThePositionInsideTheLimitsWithAndWithoutAWindow) {
    auto* track = new TTrackBar(form.get());
    int changes = 0;
    struct TCounter {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } counter{&changes};
    track->OnChange = TNotifyEvent(&counter, &TCounter::Changed);
    track->SetMax(20);
    track->SetPosition(30);
    EXPECT_EQ(track->Position(), 20) << "clamped, before there is a window";
    EXPECT_EQ(changes, 1);
    track->SetParent(form.get());
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 20) << "the window takes the range";
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETRANGEMAX, 0, 0), 20);
    track->SetPosition(20);
    EXPECT_EQ(changes, 1) << "no change, no OnChange";
    track->SetMax(5);
    EXPECT_EQ(track->Position(), 5) << "a limit moved past the position takes it along";
    EXPECT_EQ(changes, 2);
    track->SetMin(8);
    EXPECT_EQ(track->Max(), 8);
    EXPECT_EQ(track->Position(), 8);
    SendMessageA(track->Handle(), TBM_SETPOS, TRUE, 3);
    EXPECT_EQ(track->Position(), 8) << "the window keeps it inside too";

    auto* progress = new TProgressBar(form.get());
    progress->SetParent(form.get());
    progress->SetMin(10);
    progress->SetMax(50);
    progress->SetPosition(5);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 10);
    progress->SetOrientation(pbVertical);
    EXPECT_TRUE(GetWindowLongPtrA(progress->Handle(), GWL_STYLE) & PBS_VERTICAL);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETRANGE, FALSE, 0), 50) << "kept over the new window";
    EXPECT_EQ(progress->Position(), 10);
}
