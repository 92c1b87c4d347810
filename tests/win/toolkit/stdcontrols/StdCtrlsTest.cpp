// Labels, radio buttons, combo boxes, splitters and images driven by mouse and keyboard.
#include "TestSupport.h"

#include "Jpeg.h"

namespace {

POINT Centre(TControl* control) {
    return POINT{control->Left() + control->Width() / 2, control->Top() + control->Height() / 2};
}

// ---- labels --------------------------------------------------------------------------------

TEST_F(AllControlsTest, ALinkLabelTurnsRedUnderTheMouseBlueWhenLeftAndReportsClicks) {
    HWND panel = form->Panel1->Handle();
    const POINT on = Centre(form->Label2);
    PostMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
    Pump();
    EXPECT_EQ(form->Label2->Font()->Color(), clRed);
    PostMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, form->Label2->Top() + 40)); // beside it
    Pump();
    EXPECT_EQ(form->Label2->Font()->Color(), clBlue);
    PostMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
    PostMessageA(panel, WM_MOUSELEAVE, 0, 0); // out of the panel altogether
    Pump();
    EXPECT_EQ(form->Label2->Font()->Color(), clBlue);
    ClickAt(panel, on.x, on.y);
    EXPECT_EQ(form->Log.back(), "link");
}

// Moves the pointer and waits until the system reports it there.
bool MoveCursorTo(POINT p) {
    for (int i = 0; i < 50; ++i) {
        SetCursorPos(p.x, p.y);
        Pump();
        POINT now{};
        GetCursorPos(&now);
        if (now.x == p.x && now.y == p.y)
            return true;
        Sleep(10);
    }
    return false;
}

TEST_F(AllControlsTest, TheCursorIsTheOneOfTheControlUnderTheMouse) {
    HWND panel = form->Panel1->Handle();
    POINT p = form->Label2->ClientToScreen(POINT{3, 3});
    ASSERT_TRUE(MoveCursorTo(p));
    SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    p = form->Splitter1->ClientToScreen(POINT{100, 1});
    ASSERT_TRUE(MoveCursorTo(p));
    SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));
}

TEST_F(AllControlsTest, AutoSizedLabelsTakeTheSizeOfTheirText) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, form->Label1->Font()->Handle());
    SIZE size{};
    const std::string text = form->Label1->Caption();
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(form->Label1->Width(), size.cx);
    EXPECT_EQ(form->Label1->Height(), size.cy);
    const int before = form->Label3->Height();
    form->Label3->Font()->SetHeight(-30);
    EXPECT_GT(form->Label3->Height(), before);
    const int width = form->Label1->Width();
    form->Label1->SetCaption(form->Label1->Caption() + " more");
    EXPECT_GT(form->Label1->Width(), width);
    EXPECT_EQ(form->Label2->Width(), 200); // AutoSize off: as described
}

TEST_F(AllControlsTest, ParentFontFollowsTheParentUntilTheControlGetsAFontOfItsOwn) {
    form->Panel1->Font()->SetHeight(-14);
    EXPECT_EQ(form->Label1->Font()->Height(), -11); // on the other page: the form's font
    EXPECT_EQ(form->CheckBox1->Font()->Height(), -14);
    EXPECT_EQ(form->RadioButton1->Font()->Height(), -14); // through the group box
    EXPECT_EQ(form->Label3->Font()->Height(), -16);       // its own
    // The window uses the new font.
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form->CheckBox1->Handle(), WM_GETFONT, 0, 0)), sizeof lf,
               &lf);
    EXPECT_EQ(lf.lfHeight, -14);
    form->Label3->SetParentFont(true);
    EXPECT_EQ(form->Label3->Font()->Height(), -14);
}

// ---- radio buttons -------------------------------------------------------------------------

bool NativeChecked(TWinControl* control) {
    return SendMessageA(control->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(AllControlsTest, ClickingOneRadioButtonUnchecksItsPartner) {
    ClickAt(form->RadioButton1->Handle(), 5, 8);
    EXPECT_TRUE(form->RadioButton1->Checked());
    EXPECT_FALSE(form->RadioButton2->Checked());
    EXPECT_TRUE(NativeChecked(form->RadioButton1));
    EXPECT_FALSE(NativeChecked(form->RadioButton2));
    EXPECT_FALSE(form->ComboBox1->Enabled()); // RadioButton1Click
    EXPECT_FALSE(IsWindowEnabled(form->ComboBox1->Handle()));
    ClickAt(form->RadioButton2->Handle(), 5, 8);
    EXPECT_TRUE(form->RadioButton2->Checked());
    EXPECT_FALSE(form->RadioButton1->Checked());
    EXPECT_TRUE(form->ComboBox1->Enabled());
    // Only the checked one is a tab stop.
    EXPECT_TRUE(form->RadioButton2->TabStop());
    EXPECT_FALSE(form->RadioButton1->TabStop());
}

TEST_F(AllControlsTest, ArrowKeysAndAcceleratorsMoveTheRadioCheck) {
    form->RadioButton2->SetFocus();
    Pump();
    PressKey(form->RadioButton2->Handle(), VK_DOWN);
    EXPECT_TRUE(form->RadioButton1->Checked());
    EXPECT_FALSE(form->RadioButton2->Checked());
    EXPECT_EQ(GetFocus(), form->RadioButton1->Handle());
    PressKey(form->RadioButton1->Handle(), VK_DOWN); // wraps around
    EXPECT_TRUE(form->RadioButton2->Checked());
    // Alt+A: the "&All drives" accelerator.
    PostMessageA(form->RadioButton2->Handle(), WM_SYSCHAR, 'a', 0x20000000);
    Pump();
    EXPECT_TRUE(form->RadioButton1->Checked());
    EXPECT_FALSE(form->RadioButton2->Checked());
}

TEST_F(AllControlsTest, CheckingInCodeUnchecksTheSiblingsAndSurvivesANewWindow) {
    form->RadioButton1->SetChecked(true);
    EXPECT_FALSE(form->RadioButton2->Checked());
    EXPECT_FALSE(form->ComboBox1->Enabled());
    form->GroupBox1->RecreateWnd();
    EXPECT_TRUE(NativeChecked(form->RadioButton1));
    EXPECT_FALSE(NativeChecked(form->RadioButton2));
}

// ---- combo box -----------------------------------------------------------------------------

HWND ComboEdit(TComboBox* combo) {
    return FindWindowExA(combo->Handle(), nullptr, "Edit", nullptr);
}

TEST_F(AllControlsTest, TypedTextIsTheComboText) {
    int changes = 0;
    struct Counter : TObject {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter;
    counter.n = &changes;
    form->ComboBox1->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    HWND edit = ComboEdit(form->ComboBox1);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    for (char c : std::string("F:"))
        PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    Pump();
    EXPECT_EQ(form->ComboBox1->Text(), "F:");
    EXPECT_EQ(form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(GetStrProp(*form->ComboBox1, "Text"), "F:");
}

TEST_F(AllControlsTest, ChoosingAnItemWithTheKeyboardSetsTheText) {
    std::vector<std::string> seen;
    struct Watcher : TObject {
        std::vector<std::string>* seen;
        TComboBox* combo;
        void Selected(TObject*) { seen->push_back(combo->Text()); }
    } watcher;
    watcher.seen = &seen;
    watcher.combo = form->ComboBox1;
    form->ComboBox1->OnSelect = TNotifyEvent(&watcher, &Watcher::Selected);
    HWND edit = ComboEdit(form->ComboBox1);
    SetFocus(edit);
    PressKey(edit, VK_DOWN);
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(form->ComboBox1->Text(), "C:\\");
    PressKey(edit, VK_DOWN);
    EXPECT_EQ(form->ComboBox1->Text(), "D:\\");
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\", "D:\\"})); // the handler reads the new text
}

TEST_F(AllControlsTest, ComboItemsTextAndSelectionOutliveChangesAndANewWindow) {
    form->ComboBox1->SetText("typed");
    form->ComboBox1->Items()->Add("F:\\");
    EXPECT_EQ(form->ComboBox1->Text(), "typed"); // refilling the list keeps what was typed
    EXPECT_EQ(SendMessageA(form->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 4);
    form->ComboBox1->RecreateWnd();
    EXPECT_EQ(form->ComboBox1->Text(), "typed");
    form->ComboBox1->SetItemIndex(3);
    form->ComboBox1->RecreateWnd();
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 3);
    EXPECT_EQ(form->ComboBox1->Text(), "F:\\");
    form->ComboBox1->Items()->Clear();
    EXPECT_EQ(form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(SendMessageA(form->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(AllControlsTest, ADropDownListOnlyShowsItsItems) {
    form->ComboBox1->SetStyle(csDropDownList);
    EXPECT_EQ(GetWindowLongPtrA(form->ComboBox1->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    form->ComboBox1->SetText("D:\\");
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 1);
    form->ComboBox1->SetText("nowhere");
    EXPECT_EQ(form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(form->ComboBox1->Text(), "");
}

TEST_F(AllControlsTest, TheDroppedListHasRoomForItsItems) {
    form->ComboBox1->SetDroppedDown(true);
    Pump();
    RECT dropped{};
    SendMessageA(form->ComboBox1->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const auto itemHeight = static_cast<int>(SendMessageA(form->ComboBox1->Handle(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(dropped.bottom - dropped.top, form->ComboBox1->Height() + 3 * itemHeight);
    form->ComboBox1->SetDroppedDown(false);
    // Moving the box keeps it closed at its own height.
    const int height = form->ComboBox1->Height();
    form->ComboBox1->SetBounds(100, 20, 140, 60);
    EXPECT_EQ(form->ComboBox1->Height(), height);
    EXPECT_EQ(form->ComboBox1->Width(), 140);
}

// ---- splitters -----------------------------------------------------------------------------

void Drag(HWND parent, POINT from, POINT to) {
    PostMessageA(parent, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
    PostMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    PostMessageA(parent, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageA(parent, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
}

TEST_F(AllControlsTest, DraggingASplitterResizesTheControlBesideIt) {
    const int width = form->PageControl1->Width();
    const POINT grip = Centre(form->Splitter2);
    Drag(form->Handle(), grip, POINT{grip.x + 40, grip.y});
    EXPECT_EQ(form->PageControl1->Width(), width + 40);
    EXPECT_EQ(form->Splitter2->Left(), width + 40);
    EXPECT_EQ(form->Panel1->Left(), width + 44); // the client control gave the room
    // The toolbar's splitter resizes when the button is released (a pattern while dragging).
    const int height = form->ToolBar1->Height();
    const POINT bar = Centre(form->Splitter1);
    Drag(form->Handle(), bar, POINT{bar.x, bar.y + 10});
    EXPECT_EQ(form->ToolBar1->Height(), height + 10);
}

TEST_F(AllControlsTest, ASplitterKeepsMinSizeOnBothSides) {
    const POINT grip = Centre(form->Splitter2);
    Drag(form->Handle(), grip, POINT{-500, grip.y});
    EXPECT_EQ(form->PageControl1->Width(), form->Splitter2->MinSize());
    const POINT again = Centre(form->Splitter2);
    Drag(form->Handle(), again, POINT{5000, again.y});
    EXPECT_EQ(form->Panel1->Width(), form->Splitter2->MinSize());
}

// ---- images --------------------------------------------------------------------------------

TEST_F(AllControlsTest, ImagesShowABitmapAtItsSizeAndAStretchedJpeg) {
    EXPECT_EQ(form->Image1->Width(), 32); // AutoSize
    EXPECT_EQ(form->Image1->Height(), 32);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(form->Image2->Picture()->Graphic()), nullptr);
    EXPECT_EQ(form->Image2->Picture()->Width(), 227);
    EXPECT_EQ(form->Image2->Picture()->Height(), 149);
    const TRect r = form->Image2->DestRect();
    EXPECT_EQ(RectWidth(r), 114);
    EXPECT_EQ(RectHeight(r), 75);
    form->Image2->SetProportional(true);
    form->Image2->SetBounds(form->Image2->Left(), form->Image2->Top(), 114, 114);
    EXPECT_EQ(RectWidth(form->Image2->DestRect()), 114);
    EXPECT_EQ(RectHeight(form->Image2->DestRect()), 75); // 227 x 149 scaled to the width
    // A new picture resizes an auto-sized image.
    TBitmap bigger;
    bigger.SetSize(40, 20);
    form->Image1->Picture()->Assign(&bigger);
    EXPECT_EQ(form->Image1->Width(), 40);
    EXPECT_EQ(form->Image1->Height(), 20);
}

TEST_F(AllControlsTest, ATransparentImageLeavesTheBackgroundWhereTheKeyColourIs) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    picture.Canvas()->Brush()->SetColor(clGreen);
    picture.Canvas()->FillRect(Rect(4, 4, 12, 12));
    form->Image1->Picture()->Assign(&picture);
    form->Image1->SetTransparent(true);
    form->Panel1->Repaint();
    HWND panel = form->Panel1->Handle();
    EXPECT_EQ(PixelAt(panel, form->Image1->Left() + 8, form->Image1->Top() + 8), ColorRefOf(clGreen));
    EXPECT_EQ(PixelAt(panel, form->Image1->Left() + 1, form->Image1->Top() + 1), ColorRefOf(clBtnFace));
}

} // namespace
