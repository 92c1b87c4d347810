// The form with every control, read from its description and shown.
#include "TestSupport.h"

#include <cstdlib>

namespace {

TEST_F(AllControlsTest, TheDescriptionCreatesEveryControlWithItsProperties) {
    EXPECT_EQ(form->Log.front(), "create");
    EXPECT_EQ(form->ToolBar1->ButtonCount(), 4);
    EXPECT_TRUE(form->ToolBar1->Flat());
    EXPECT_TRUE(form->ToolBar1->ShowCaptions());
    EXPECT_EQ(form->ToolBar1->Images(), form->ImageList1);
    EXPECT_EQ(form->ToolBar1->DisabledImages(), form->ImageList1);
    EXPECT_EQ(form->ToolButton3->DropdownMenu(), form->PopupMenu1);
    EXPECT_EQ(form->StatusBar1->Panels()->Count(), 2);
    EXPECT_EQ(form->StatusBar1->Panels()->Items(0)->Text(), "   First panel");
    EXPECT_EQ(form->ListView1->Columns()->Count(), 3);
    EXPECT_EQ(form->ListView1->Columns()->Items(1)->Caption(), "Path");
    EXPECT_EQ(form->ListView1->SmallImages(), form->ImageList2);
    EXPECT_EQ(form->PageControl1->PageCount(), 2);
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
    EXPECT_EQ(form->ComboBox1->Items()->Count(), 3);
    EXPECT_EQ(form->ComboBox1->Items()->Get(2), "E:\\");
    EXPECT_TRUE(form->RadioButton2->Checked());
    EXPECT_FALSE(form->RadioButton1->Checked());
    EXPECT_EQ(form->Label2->Cursor(), crHandPoint);
    EXPECT_EQ(form->Label2->Font()->Color(), clBlue);
    EXPECT_FALSE(form->Label2->ParentFont()); // a font of its own
    EXPECT_TRUE(form->Label1->ParentFont());
    EXPECT_EQ(form->Label3->Font()->Height(), -16);
    EXPECT_EQ(form->Splitter1->Cursor(), crVSplit);
    EXPECT_EQ(form->MainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form->PopupMenu1->Items()->Count(), 4);
    EXPECT_TRUE(form->PopupMenu1->OwnerDraw());
    EXPECT_EQ(form->Open1->ShortCut(), VK_F5);
    // Published access by name reaches the same objects, as the skin engine reads them.
    EXPECT_EQ(GetObjectProp(*form->ToolBar1, "Images"), form->ImageList1);
    EXPECT_EQ(GetEnumProp(*form->ListView1, "ViewStyle"), "vsReport");
    EXPECT_EQ(GetEnumProp(*form->ToolBar1, "Flat"), "True");
    SetPropValue(*form->ToolBar1, "Flat", "False");
    EXPECT_FALSE(form->ToolBar1->Flat());
}

TEST_F(AllControlsTest, EachWindowIsOfAClassNamedAfterItsControl) {
    EXPECT_EQ(WindowClassOf(form->ToolBar1->Handle()), "TToolBar");
    EXPECT_EQ(WindowClassOf(form->StatusBar1->Handle()), "TStatusBar");
    EXPECT_EQ(WindowClassOf(form->ListView1->Handle()), "TListView");
    EXPECT_EQ(WindowClassOf(form->PageControl1->Handle()), "TPageControl");
    EXPECT_EQ(WindowClassOf(form->TabSheet1->Handle()), "TTabSheet");
    EXPECT_EQ(WindowClassOf(form->RadioButton1->Handle()), "TRadioButton");
    EXPECT_EQ(WindowClassOf(form->ComboBox1->Handle()), "TComboBox");
    EXPECT_EQ(WindowClassOf(form->GroupBox1->Handle()), "TGroupBox");
    EXPECT_EQ(FindControl(form->ListView1->Handle()), form->ListView1);
    // Superclassed: the system's controls do the work under the toolkit's names.
    EXPECT_EQ(SendMessageA(form->ToolBar1->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(form->StatusBar1->Handle(), SB_GETPARTS, 0, 0), 2);
    EXPECT_EQ(SendMessageA(form->ListView1->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(form->PageControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(form->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(GetWindowLongPtrA(form->GroupBox1->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(GetWindowLongPtrA(form->RadioButton1->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
}

TEST_F(AllControlsTest, AlignedControlsShareTheClientArea) {
    const RECT client = form->ClientRect();
    EXPECT_EQ(form->ToolBar1->Top(), 0);
    EXPECT_EQ(form->ToolBar1->Width(), client.right);
    EXPECT_EQ(form->Splitter1->Top(), form->ToolBar1->Height());
    EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), client.bottom);
    EXPECT_EQ(form->PageControl1->Top(), form->Splitter1->Top() + form->Splitter1->Height());
    EXPECT_EQ(form->Splitter2->Left(), form->PageControl1->Width());
    EXPECT_EQ(form->Panel1->Left(), form->Splitter2->Left() + form->Splitter2->Width());
    EXPECT_EQ(form->Panel1->Left() + form->Panel1->Width(), client.right);
    EXPECT_EQ(form->Panel1->Top() + form->Panel1->Height(), form->StatusBar1->Top());
}

// The painted form: colours from the description reach the screen.
TEST_F(AllControlsTest, TheFormShowsItsControlsInTheirColours) {
    form->Repaint();
    Pump();
    // The toolbar's white background right of its last button.
    const RECT bar = form->ToolBar1->ClientRect();
    EXPECT_EQ(PixelAt(form->ToolBar1->Handle(), bar.right - 5, bar.bottom - 3), RGB(255, 255, 255));
    // The splitters in their colours.
    EXPECT_EQ(PixelAt(form->Handle(), 200, form->Splitter1->Top() + 1), ColorRefOf(clActiveBorder));
    EXPECT_EQ(PixelAt(form->Handle(), form->Splitter2->Left() + 1, 200), ColorRefOf(clBtnFace));
    // The bitmap picture: its red square at (4..11, 4..11) of the image.
    HWND panel = form->Panel1->Handle();
    EXPECT_EQ(PixelAt(panel, form->Image1->Left() + 6, form->Image1->Top() + 6), RGB(220, 30, 30));
    EXPECT_EQ(PixelAt(panel, form->Image1->Left() + 16, form->Image1->Top() + 16), RGB(40, 90, 220));
    // The link label's text in blue somewhere along its line.
    bool blue = false;
    for (int x = 0; x < form->Label2->Width() && !blue; ++x)
        for (int y = 0; y < form->Label2->Height() && !blue; ++y)
            blue = PixelAt(panel, form->Label2->Left() + x, form->Label2->Top() + y) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
    // The last status panel reaches the right end of the bar.
    const RECT last = form->StatusBar1->PanelRect(1);
    EXPECT_GE(last.right, form->StatusBar1->ClientWidth() - GetSystemMetrics(SM_CXVSCROLL) - 4);
}

// The form stands where its description puts it. When TW_HOLD_FORM_SECONDS is set, it then
// stays on screen for that long, followed by its owner-drawn pop-up menu for as long, so that
// screenshots can be taken of both.
TEST_F(AllControlsTest, StandsWhereItsDescriptionPutsItAndStaysForAScreenshotWhenAsked) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 440); // with the menu bar above the client area
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(WindowTextOf(form->Handle()), "All controls 控件"); // in the ANSI code page
    const char* hold = std::getenv("TW_HOLD_FORM_SECONDS");
    if (!hold)
        return;
    const DWORD seconds = static_cast<DWORD>(std::atoi(hold));
    const DWORD until = GetTickCount() + seconds * 1000;
    while (GetTickCount() < until) {
        Pump();
        Sleep(20);
    }
    MenuKeyDriver keys({VK_DOWN, VK_ESCAPE}, seconds * 1000);
    const POINT at = form->ClientToScreen(POINT{420, 300});
    form->PopupMenu1->Popup(at.x, at.y);
}

} // namespace
