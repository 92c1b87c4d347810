// Main and pop-up menus: the menu bar on the form, commands, shortcuts, owner drawing, the
// item tree and its Win32 menus.
#include "TestSupport.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Records the owner-draw calls of the items it is attached to.
struct OwnerDrawRecorder : TObject {
    std::vector<std::string> measured;
    std::vector<std::string> drawn;
    std::vector<std::string> drawnSelected;
    void Measure(TObject* sender, TCanvas* canvas, int& width, int& height) {
        auto* item = static_cast<TMenuItem*>(sender);
        measured.push_back(item->Name());
        EXPECT_NE(canvas, nullptr);
        width = 120;
        height = item->IsLine() ? 6 : 22;
    }
    void Draw(TObject* sender, TCanvas* canvas, const TRect& rect, bool selected) {
        auto* item = static_cast<TMenuItem*>(sender);
        (selected ? drawnSelected : drawn).push_back(item->Name());
        EXPECT_EQ(RectHeight(rect), item->IsLine() ? 6 : 22);
        canvas->Brush()->SetColor(selected ? clNavy : clYellow);
        canvas->FillRect(rect);
    }
};

bool Contains(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

TEST_F(AllControlsTest, TheMainMenuIsTheFormsMenuBar) {
    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, form->MainMenu1->Handle());
    EXPECT_EQ(form->MainMenu1->WindowHandle(), form->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), "&File");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file, form->MainMenu1->Items()->Items(0)->Handle());
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(MenuText(file, 0), "&Open\tF5");
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(form->Open1->Command()));
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(file, 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST_F(AllControlsTest, MenuCommandsAndShortcutsRunTheItems) {
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Exit1->Command(), 0), 0);
    EXPECT_EQ(form->Log.back(), "menu Exit1");
    // F5 pressed in any control of the form.
    form->Edit1->SetFocus();
    Pump();
    PressKey(form->Edit1->Handle(), VK_F5);
    EXPECT_EQ(form->Log.back(), "menu Open1");
    form->Open1->SetEnabled(false);
    const size_t entries = form->Log.size();
    PressKey(form->Edit1->Handle(), VK_F5);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Open1->Command(), 0), 0);
    EXPECT_EQ(form->Log.size(), entries); // a disabled item does not run
    EXPECT_TRUE(form->MainMenu1->IsShortCut(VK_F5, TShiftState{}) == false);
}

TEST_F(AllControlsTest, ItemsAreFoundByCommandHandleAndShortcut) {
    TMainMenu* menu = form->MainMenu1;
    EXPECT_EQ(menu->FindItem(static_cast<std::uintptr_t>(form->Exit1->Command()), fkCommand), form->Exit1);
    TMenuItem* file = menu->Items()->Items(0);
    EXPECT_EQ(menu->FindItem(reinterpret_cast<std::uintptr_t>(file->Handle()), fkHandle), file);
    EXPECT_EQ(menu->FindItem(VK_F5, fkShortCut), form->Open1);
    // Another menu's items are not this menu's.
    EXPECT_EQ(menu->FindItem(static_cast<std::uintptr_t>(form->PopupFirst->Command()), fkCommand), nullptr);
    EXPECT_EQ(FindMenuItemByCommand(form->PopupFirst->Command()), form->PopupFirst);
    EXPECT_EQ(menu->Items()->Find("file"), file);
    EXPECT_NE(form->Open1->Command(), form->Exit1->Command());
}

TEST_F(AllControlsTest, ChangedItemsChangeTheMenuBarMenus) {
    HMENU file = form->MainMenu1->Items()->Items(0)->Handle();
    form->Open1->SetCaption("&Load");
    form->Open1->SetChecked(true);
    EXPECT_EQ(MenuText(file, 0), "&Load\tF5");
    EXPECT_EQ(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    form->Exit1->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(file), 2);
    form->Exit1->SetVisible(true);
    auto* added = new TMenuItem(form.get());
    added->SetCaption("&Recent");
    form->MainMenu1->Items()->Items(0)->Insert(1, added);
    EXPECT_EQ(MenuText(file, 1), "&Recent");
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle()); // same bar all along
    // A sub-item makes the item a pop-up of its own; freeing it takes the pop-up away.
    auto* sub = new TMenuItem(form.get());
    sub->SetCaption("one.txt");
    added->Add(sub);
    HMENU recent = added->Handle();
    EXPECT_EQ(GetSubMenu(file, 1), recent);
    TObject::Free(added); // and its sub-item with it
    EXPECT_FALSE(IsMenu(recent));
    EXPECT_EQ(GetMenuItemCount(file), 3);
}

TEST_F(AllControlsTest, TheMenuBarSurvivesANewWindowAndLeavesWithItsMenu) {
    HMENU bar = form->MainMenu1->Handle();
    form->SetBorderStyle(bsSingle); // re-creates the window
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    form->SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_TRUE(IsMenu(bar)); // still the menu component's
    form->SetMenu(form->MainMenu1);
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    TObject::Free(form->MainMenu1);
    form->MainMenu1 = nullptr;
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(AllControlsTest, OwnerDrawnPopupItemsAreMeasuredAndDrawnAndPopupReturnsAfterTheClick) {
    OwnerDrawRecorder rec;
    for (int i = 0; i < form->PopupMenu1->Items()->Count(); ++i) {
        TMenuItem* item = form->PopupMenu1->Items()->Items(i);
        item->OnMeasureItem = TMenuMeasureItemEvent(&rec, &OwnerDrawRecorder::Measure);
        item->OnDrawItem = TMenuDrawItemEvent(&rec, &OwnerDrawRecorder::Draw);
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(form->PopupMenu1->Handle(), 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    const POINT at = form->ClientToScreen(POINT{200, 150});
    {
        MenuKeyDriver keys({VK_DOWN, VK_DOWN, VK_RETURN}, 300);
        form->PopupMenu1->Popup(at.x, at.y);
        EXPECT_TRUE(keys.SawMenu());
    }
    // Popup has returned, and the second item's click has run by then.
    EXPECT_EQ(form->Log.back(), "menu PopupSecond");
    for (const char* name : {"PopupFirst", "PopupSecond", "PopupLine", "PopupThird"}) {
        EXPECT_TRUE(Contains(rec.measured, name)) << name;
        EXPECT_TRUE(Contains(rec.drawn, name)) << name;
    }
    EXPECT_TRUE(Contains(rec.drawnSelected, "PopupFirst"));
    EXPECT_TRUE(Contains(rec.drawnSelected, "PopupSecond"));
    EXPECT_FALSE(Contains(rec.drawnSelected, "PopupThird"));
}

TEST_F(AllControlsTest, ClosingAPopupWithoutAChoiceRunsNothing) {
    const size_t entries = form->Log.size();
    int popups = 0;
    struct Counter : TObject {
        int* n;
        void Popped(TObject*) { ++*n; }
    } counter;
    counter.n = &popups;
    form->PopupMenu1->OnPopup = TNotifyEvent(&counter, &Counter::Popped);
    MenuKeyDriver keys({VK_ESCAPE});
    const POINT at = form->ClientToScreen(POINT{200, 150});
    form->PopupMenu1->Popup(at.x, at.y);
    EXPECT_TRUE(keys.SawMenu());
    EXPECT_EQ(form->Log.size(), entries);
    EXPECT_EQ(popups, 1);
}

TEST_F(AllControlsTest, TheDefaultOwnerDrawingPaintsTheItemsOwnMeasurement) {
    TWindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.Get());
    int plainWidth = 0, plainHeight = 0, shortcutWidth = 0, shortcutHeight = 0;
    form->PopupSecond->MeasureItem(&canvas, plainWidth, plainHeight);
    form->PopupThird->MeasureItem(&canvas, shortcutWidth, shortcutHeight); // "Ctrl+T" beside it
    EXPECT_GT(plainWidth, 16);
    EXPECT_GT(shortcutWidth, plainWidth + canvas.TextWidth("Ctrl+T"));
    EXPECT_GE(plainHeight, canvas.TextHeight("Second"));
    // An assigned OnMeasureItem adjusts the item's own measurement.
    struct Wider : TObject {
        void Measure(TObject*, TCanvas*, int& width, int&) { width += 35; }
    } wider;
    form->PopupSecond->OnMeasureItem = TMenuMeasureItemEvent(&wider, &Wider::Measure);
    int adjusted = 0, height = 0;
    form->PopupSecond->MeasureItem(&canvas, adjusted, height);
    EXPECT_EQ(adjusted, plainWidth + 35);
    // The default drawing fills the item: the highlight colour when selected.
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(shortcutWidth, shortcutHeight);
    const TRect r = Rect(0, 0, shortcutWidth, shortcutHeight);
    form->PopupThird->DrawItem(target.Canvas(), r, true);
    EXPECT_EQ(target.Canvas()->Pixels(shortcutWidth - 2, 1), ColorToRGB(clHighlight));
    form->PopupThird->DrawItem(target.Canvas(), r, false);
    EXPECT_EQ(target.Canvas()->Pixels(shortcutWidth - 2, 1), ColorToRGB(clMenu));
    canvas.SetHandle(nullptr);
}

TEST_F(AllControlsTest, AMenuWithImagesIsOwnerDrawnAndDrawsTheItemsImage) {
    TPopupMenu* menu = form->PopupMenu1;
    menu->SetOwnerDraw(false);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu->Handle(), 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    menu->SetImages(form->ImageList1); // 32 x 32: a green square first
    GetMenuItemInfoA(menu->Handle(), 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    form->PopupFirst->SetImageIndex(0);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(150, 36);
    form->PopupFirst->DrawItem(target.Canvas(), Rect(0, 0, 150, 36), false);
    EXPECT_EQ(target.Canvas()->Pixels(1 + 16, 18), RGBColor(30, 160, 60));
    TObject::Free(form->ImageList1); // the menu forgets a freed image list
    form->ImageList1 = nullptr;
    EXPECT_EQ(menu->Images(), nullptr);
    GetMenuItemInfoA(menu->Handle(), 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(AllControlsTest, AToolbarShowsAMainMenuAsButtonsThatDropTheirItems) {
    TToolBar* bar = form->ToolBar1;
    bar->SetMenu(form->MainMenu1);
    ASSERT_EQ(bar->ButtonCount(), 6);
    TToolButton* file = bar->Buttons(4);
    EXPECT_EQ(file->MenuItem(), form->MainMenu1->Items()->Items(0));
    EXPECT_EQ(file->Caption(), "&File");
    RECT r{};
    SendMessageA(bar->Handle(), TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
    {
        MenuKeyDriver keys({VK_DOWN, VK_RETURN});
        ClickAt(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_TRUE(keys.SawMenu());
    }
    EXPECT_EQ(form->Log.back(), "menu Open1");
    bar->SetMenu(nullptr);
    EXPECT_EQ(bar->ButtonCount(), 4);
}

TEST(Menus, ShortcutsAsText) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', TShiftState{ssCtrl})), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, TShiftState{ssShift, ssCtrl})), "Shift+Ctrl+F5");
    EXPECT_EQ(ShortCutToText(VK_DELETE), "Del");
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(TextToShortCut("Ctrl+S"), ShortCut('S', TShiftState{ssCtrl}));
    EXPECT_EQ(TextToShortCut("alt+f4"), ShortCut(VK_F4, TShiftState{ssAlt}));
    EXPECT_EQ(TextToShortCut("Shift+Ctrl+Del"), ShortCut(VK_DELETE, TShiftState{ssShift, ssCtrl}));
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+S"), scNone);
    EXPECT_EQ(TextToShortCut("F25"), scNone);
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(TextToShortCut("Alt+Home"), key, shift);
    EXPECT_EQ(key, VK_HOME);
    EXPECT_EQ(shift, TShiftState{ssAlt});
    for (TShortCut sc : {TShortCut('A' | scCtrl), TShortCut(VK_F12 | scAlt | scShift), TShortCut(VK_INSERT)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
}

TEST(Menus, HotkeysAndTheAcceleratorTest) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
    EXPECT_EQ(StripHotkey("trailing&"), "trailing&");
    EXPECT_TRUE(IsAccel('x', "E&xit"));
    EXPECT_TRUE(IsAccel('X', "E&xit"));
    EXPECT_FALSE(IsAccel('e', "E&xit"));
    EXPECT_FALSE(IsAccel('&', "A && B"));
    EXPECT_TRUE(IsAccel('b', "A && &B"));
}

TEST(Menus, RadioItemsAutoCheckAndTheTreeFreesItsItems) {
    std::unique_ptr<TPopupMenu, TObjectDeleter> menu(new TPopupMenu(nullptr));
    auto* a = new TMenuItem(nullptr);
    auto* b = new TMenuItem(nullptr);
    auto* c = new TMenuItem(nullptr);
    for (TMenuItem* item : {a, b, c}) {
        item->SetRadioItem(true);
        menu->Items()->Add(item);
    }
    c->SetGroupIndex(1);
    a->SetChecked(true);
    c->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked()); // same group
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked()); // another group
    auto* toggle = new TMenuItem(nullptr);
    toggle->SetAutoCheck(true);
    menu->Items()->Add(toggle);
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
    EXPECT_THROW(a->Add(menu->Items()), EMenuError); // an item into its own sub-tree
    EXPECT_THROW(menu->Items()->Add(a), EMenuError); // already in a menu
    const int command = b->Command();
    HMENU handle = menu->Handle();
    EXPECT_EQ(GetMenuItemCount(handle), 4);
    menu.reset(); // frees the items without owners
    EXPECT_EQ(FindMenuItemByCommand(command), nullptr);
    EXPECT_FALSE(IsMenu(handle));
}

} // namespace
