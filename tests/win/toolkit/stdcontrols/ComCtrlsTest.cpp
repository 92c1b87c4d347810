// Toolbar, status bar, list view and page control driven through their windows.
#include "TestSupport.h"

#include <shellapi.h>

namespace {

RECT ButtonRect(TToolBar* bar, int index) {
    RECT r{};
    SendMessageA(bar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// ---- toolbar -------------------------------------------------------------------------------

TEST_F(AllControlsTest, ToolButtonsStandInTheirDescribedOrderAtTheToolbarsPlaces) {
    TToolBar* bar = form->ToolBar1;
    // Read in the order ToolButton1, 3, 2, 4; shown by position: 1, separator, 3, 4.
    EXPECT_EQ(bar->Buttons(0), form->ToolButton1);
    EXPECT_EQ(bar->Buttons(1), form->ToolButton2);
    EXPECT_EQ(bar->Buttons(2), form->ToolButton3);
    EXPECT_EQ(bar->Buttons(3), form->ToolButton4);
    const LRESULT size = SendMessageA(bar->Handle(), TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(size), 64);
    EXPECT_EQ(HIWORD(size), 56);
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        const RECT r = ButtonRect(bar, i);
        EXPECT_EQ(bar->Buttons(i)->Left(), r.left) << i;
        EXPECT_EQ(bar->Buttons(i)->Width(), r.right - r.left) << i;
        EXPECT_EQ(bar->Buttons(i)->Top(), r.top) << i;
    }
    EXPECT_EQ(form->ToolButton2->Width(), 8); // the separator keeps its width
    TBBUTTON native{};
    SendMessageA(bar->Handle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&native));
    EXPECT_EQ(native.iBitmap, 0);
    char caption[64] = {};
    SendMessageA(bar->Handle(), TB_GETBUTTONTEXTA, static_cast<WPARAM>(native.idCommand),
                 reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(caption, "&Clean");
    SendMessageA(bar->Handle(), TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&native));
    EXPECT_FALSE(native.fsState & TBSTATE_ENABLED);
}

TEST_F(AllControlsTest, ClickingAToolButtonRunsItsOnClickUnlessItIsDisabled) {
    TToolBar* bar = form->ToolBar1;
    RECT r = ButtonRect(bar, 0);
    ClickAt(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(form->Log.back(), "tool ToolButton1");
    const size_t entries = form->Log.size();
    r = ButtonRect(bar, 3);
    ClickAt(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(form->Log.size(), entries);
    form->ToolButton4->SetEnabled(true);
    form->ToolButton4->OnClick = form->ToolButton1->OnClick;
    ClickAt(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(form->Log.back(), "tool ToolButton4");
}

TEST_F(AllControlsTest, ToolButtonChangesReachTheToolbar) {
    TToolBar* bar = form->ToolBar1;
    form->ToolButton1->SetCaption("Renamed");
    TBBUTTON native{};
    SendMessageA(bar->Handle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&native));
    char caption[64] = {};
    SendMessageA(bar->Handle(), TB_GETBUTTONTEXTA, static_cast<WPARAM>(native.idCommand),
                 reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(caption, "Renamed");
    form->ToolButton3->SetVisible(false);
    SendMessageA(bar->Handle(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&native));
    EXPECT_TRUE(native.fsState & TBSTATE_HIDDEN);
    EXPECT_EQ(form->ToolButton4->Left(), ButtonRect(bar, 3).left);
    TObject::Free(form->ToolButton2);
    form->ToolButton2 = nullptr;
    EXPECT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
    form->ToolButton1->SetStyle(tbsCheck);
    form->ToolButton1->SetDown(true);
    EXPECT_TRUE(SendMessageA(bar->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(native.idCommand), 0) ||
                form->ToolButton1->Down());
    EXPECT_TRUE(form->ToolButton1->Down());
}

TEST_F(AllControlsTest, AnImageListShownTwiceIsForgottenEverywhereWhenFreed) {
    TToolBar* bar = form->ToolBar1;
    bar->SetDisabledImages(nullptr); // still the normal images
    TObject::Free(form->ImageList1);
    form->ImageList1 = nullptr;
    EXPECT_EQ(bar->Images(), nullptr);
    EXPECT_EQ(SendMessageA(bar->Handle(), TB_GETIMAGELIST, 0, 0), 0);
    bar->Repaint(); // draws without the freed list
}

// Records the custom-draw calls and paints the background green instead of the system.
struct DrawRecorder : TObject {
    std::vector<TToolButton*> buttons;
    std::vector<TCustomDrawState> states;
    int backgrounds = 0;
    bool paintBackground = false;
    bool skipButtons = false;
    void Background(TToolBar* sender, const TRect& r, bool& defaultDraw) {
        ++backgrounds;
        if (!paintBackground)
            return;
        sender->Canvas()->Brush()->SetColor(clLime);
        sender->Canvas()->FillRect(r);
        sender->Canvas()->Font()->SetColor(clRed);
        defaultDraw = true; // the buttons still come
    }
    void Button(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw) {
        buttons.push_back(button);
        states.push_back(state);
        if (skipButtons)
            defaultDraw = false;
        sender->Canvas()->Font()->SetColor(clRed);
    }
};

TEST_F(AllControlsTest, CustomDrawHandlersPaintTheBackgroundAndSeeEachButtonWithItsState) {
    TToolBar* bar = form->ToolBar1;
    DrawRecorder rec;
    rec.paintBackground = true;
    bar->OnCustomDraw = TTBCustomDrawEvent(&rec, &DrawRecorder::Background);
    bar->OnCustomDrawButton = TTBCustomDrawBtnEvent(&rec, &DrawRecorder::Button);
    bar->Repaint();
    Pump();
    EXPECT_GE(rec.backgrounds, 1);
    // Every button but the separator, once per paint at least.
    auto seen = [&](TToolButton* b) {
        return std::find(rec.buttons.begin(), rec.buttons.end(), b) != rec.buttons.end();
    };
    EXPECT_TRUE(seen(form->ToolButton1));
    EXPECT_TRUE(seen(form->ToolButton3));
    EXPECT_TRUE(seen(form->ToolButton4));
    for (size_t i = 0; i < rec.buttons.size(); ++i)
        EXPECT_EQ(rec.states[i].Contains(cdsDisabled) || rec.states[i].Contains(cdsGrayed),
                  rec.buttons[i] == form->ToolButton4)
            << rec.buttons[i]->Name();
    const RECT client = bar->ClientRect();
    EXPECT_EQ(PixelAt(bar->Handle(), client.right - 3, 3), RGB(0, 255, 0));
    // Without the default drawing of the buttons, the background shows where they were.
    rec.skipButtons = true;
    bar->Repaint();
    Pump();
    const RECT r = ButtonRect(bar, 0);
    bool allGreen = true;
    for (int x = r.left + 2; x < r.right - 2; x += 3)
        for (int y = r.top + 2; y < r.bottom - 2; y += 3)
            allGreen = allGreen && PixelAt(bar->Handle(), x, y) == RGB(0, 255, 0);
    EXPECT_TRUE(allGreen);
}

TEST_F(AllControlsTest, TheDropDownArrowOpensTheButtonsMenuAndThePickedItemRuns) {
    TToolBar* bar = form->ToolBar1;
    const RECT r = ButtonRect(bar, 2);
    MenuKeyDriver keys({VK_DOWN, VK_RETURN});
    // The arrow part at the right end of the button.
    ClickAt(bar->Handle(), r.right - 4, (r.top + r.bottom) / 2);
    EXPECT_TRUE(keys.SawMenu());
    EXPECT_EQ(form->Log.back(), "menu PopupFirst");
    EXPECT_EQ(form->PopupMenu1->PopupComponent(), form->ToolButton3);
}

// ---- status bar ----------------------------------------------------------------------------

std::string PartText(TStatusBar* bar, int index) {
    char text[256] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(AllControlsTest, StatusPanelsAreTheBarsPartsAndTheLastRunsToTheEdge) {
    TStatusBar* bar = form->StatusBar1;
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 150);
    EXPECT_EQ(edges[1], -1);
    EXPECT_EQ(PartText(bar, 0), "   First panel");
    EXPECT_EQ(PartText(bar, 1), "Last panel");
    bar->Panels()->Items(1)->SetText("changed");
    EXPECT_EQ(PartText(bar, 1), "changed");
    TStatusPanel* added = bar->Panels()->Add();
    added->SetText("third");
    ASSERT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[1], 200); // the former last panel has its width now
    EXPECT_EQ(edges[2], -1);
    EXPECT_EQ(PartText(bar, 2), "third");
    bar->Panels()->Items(0)->SetAlignment(taCenter);
    EXPECT_EQ(PartText(bar, 0), "\t   First panel");
    bar->Panels()->Items(1)->SetBiDiMode(bdRightToLeft); // reads from the right
    EXPECT_EQ(PartText(bar, 1), "\t\tchanged");
    // The white background the description gives it (no visual style paints over it).
    const RECT last = bar->PanelRect(2);
    EXPECT_EQ(PixelAt(bar->Handle(), last.left + 60, (last.top + last.bottom) / 2), RGB(255, 255, 255));
}

TEST_F(AllControlsTest, StatusPanelsAreReadAgainAfterANewWindow) {
    form->StatusBar1->Panels()->Items(0)->SetWidth(120);
    form->StatusBar1->RecreateWnd();
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(form->StatusBar1->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 120);
    EXPECT_EQ(PartText(form->StatusBar1, 0), "   First panel");
    form->StatusBar1->SetSimplePanel(true);
    form->StatusBar1->SetSimpleText("simple");
    EXPECT_TRUE(SendMessageA(form->StatusBar1->Handle(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(form->StatusBar1, 0), "simple"); // the one part of a simple bar
}

// ---- list view -----------------------------------------------------------------------------

std::string CellText(TListView* view, int row, int column) {
    char text[256] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(view->Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

POINT RowPoint(TListView* view, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(view->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 5, (r.top + r.bottom) / 2};
}

TEST_F(AllControlsTest, ListViewRowsShowCaptionSubItemsAndImages) {
    TListView* view = form->ListView1;
    EXPECT_EQ(GetWindowLongPtrA(view->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(CellText(view, 1, 0), "beta");
    EXPECT_EQ(CellText(view, 1, 1), "C:\\beta.exe");
    EXPECT_EQ(CellText(view, 1, 2), "No");
    EXPECT_EQ(view->Items()->Item(1)->SubItems()->Get(2), "1"); // carried, not shown
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 2;
    SendMessageA(view->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 2);
    // The rows use the system's small icons, shared with the image list.
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(view->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              form->ImageList2->Handle());
    SHFILEINFOA info{};
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(
                  SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
              form->ImageList2->Handle());
    view->Items()->Item(1)->SubItems()->Put(1, "Yes");
    EXPECT_EQ(CellText(view, 1, 2), "Yes");
    EXPECT_TRUE(GetWindowLongPtrA(view->Handle(), GWL_STYLE) & LVS_SINGLESEL);
    EXPECT_FALSE(GetWindowLongPtrA(view->Handle(), GWL_STYLE) & LVS_EDITLABELS);
    EXPECT_TRUE(SendMessageA(view->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
}

TEST_F(AllControlsTest, ClickingARowSelectsItAndDeleteRemovesTheSelectedRow) {
    TListView* view = form->ListView1;
    std::vector<std::string> selections;
    struct Watcher : TObject {
        std::vector<std::string>* out;
        void Select(TObject*, TListItem* item, bool selected) {
            out->push_back((selected ? "+" : "-") + item->Caption());
        }
    } watcher;
    watcher.out = &selections;
    view->OnSelectItem = TLVSelectItemEvent(&watcher, &Watcher::Select);
    const POINT row = RowPoint(view, 1);
    ClickAt(view->Handle(), row.x, row.y);
    ASSERT_NE(view->Selected(), nullptr);
    EXPECT_EQ(view->Selected()->Caption(), "beta");
    EXPECT_EQ(view->ItemIndex(), 1);
    EXPECT_EQ(selections, (std::vector<std::string>{"+beta"}));
    // The keyboard moves the selection down; single selection keeps one row.
    PressKey(view->Handle(), VK_DOWN);
    EXPECT_EQ(view->Selected()->Caption(), "gamma");
    EXPECT_EQ(view->SelCount(), 1);
    ClickAt(form->DeleteButton->Handle(), 10, 10);
    EXPECT_EQ(form->Log.back(), "delete gamma");
    EXPECT_EQ(view->Items()->Count(), 2);
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CellText(view, 1, 0), "beta");
    EXPECT_EQ(view->Selected(), nullptr);
    // With nothing selected the button changes nothing.
    ClickAt(form->DeleteButton->Handle(), 10, 10);
    EXPECT_EQ(view->Items()->Count(), 2);
}

TEST_F(AllControlsTest, ColumnHeadersHideAndShowAgain) {
    TListView* view = form->ListView1;
    HWND header = view->HeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(IsWindowVisible(header));
    view->SetShowColumnHeaders(false);
    Pump();
    EXPECT_FALSE(IsWindowVisible(header));
    view->SetShowColumnHeaders(true);
    Pump();
    EXPECT_TRUE(IsWindowVisible(header));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    view->Columns()->Items(0)->SetCaption("Item");
    char text[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    SendMessageA(view->Handle(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(text, "Item");
}

// Whether anything but the background colour shows in the window's top rows (text, lines).
bool ShowsInk(HWND wnd, COLORREF background) {
    RECT r{};
    GetClientRect(wnd, &r);
    TWindowDC dc(wnd);
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < std::min<LONG>(r.right, 200); ++x)
            if (GetPixel(dc.Get(), x, y) != background)
                return true;
    return false;
}

// The start-up dialog's order: a double-buffered list whose headers are hidden before it has a
// window and shown again once its rows are in, on a form shown afterwards.
TEST(ListViewHeader, HeadersHiddenWhileLoadingComeBackVisibleWithTheirColumns) {
    std::unique_ptr<TForm, TObjectDeleter> owner(new TForm(nullptr, TCreateNew{}));
    owner->SetBounds(60, 60, 420, 300);
    auto* view = new TListView(owner.get());
    view->SetParent(owner.get());
    view->SetBounds(8, 8, 380, 220);
    view->SetViewStyle(vsReport);
    for (const char* caption : {"Name", "Path", "Exists"})
        view->Columns()->Add()->SetCaption(caption);
    view->SetDoubleBuffered(true);
    view->SetShowColumnHeaders(false);
    owner->HandleNeeded();
    HWND header = view->HeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_FALSE(GetWindowLongPtrA(header, GWL_STYLE) & WS_VISIBLE);
    view->Items()->Add()->SetCaption("row");
    view->SetShowColumnHeaders(true);
    owner->Show();
    Pump();
    // The list paints itself once more over the area the header covers.
    RedrawWindow(view->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(view->HeaderHandle(), header);
    EXPECT_TRUE(IsWindowVisible(header));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    RECT r{};
    GetWindowRect(header, &r);
    EXPECT_GT(r.bottom - r.top, 0);
    EXPECT_TRUE(ShowsInk(header, ColorRefOf(view->Color()))) << "the header's captions are on screen";
    // Hidden again and shown at run time, on the visible form.
    view->SetShowColumnHeaders(false);
    Pump();
    EXPECT_FALSE(IsWindowVisible(header));
    view->SetShowColumnHeaders(true);
    Pump();
    RedrawWindow(view->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_TRUE(IsWindowVisible(header));
    EXPECT_TRUE(ShowsInk(header, ColorRefOf(view->Color())));
}

std::string ColumnCaption(TListView* view, int index) {
    char text[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    SendMessageA(view->Handle(), LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
    return text;
}

TEST_F(AllControlsTest, ColumnsAndPanelsInsertedAtRunTimeShowInTheirPlaces) {
    TListView* view = form->ListView1;
    TListColumn* column = view->Columns()->Insert(0);
    EXPECT_EQ(column->Index(), 0);
    column->SetCaption("First");
    column->SetWidth(70);
    EXPECT_EQ(SendMessageA(view->HeaderHandle(), HDM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(ColumnCaption(view, 0), "First");
    EXPECT_EQ(ColumnCaption(view, 1), "Name");
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 70);
    TStatusBar* bar = form->StatusBar1;
    TStatusPanel* panel = bar->Panels()->Insert(0);
    panel->SetText("inserted");
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 3);
    EXPECT_EQ(PartText(bar, 0), "inserted");
    EXPECT_EQ(PartText(bar, 1), "   First panel");
    TObject::Free(panel);
    EXPECT_EQ(PartText(bar, 0), "   First panel");
}

TEST_F(AllControlsTest, CheckMarksSelectionAndColumnWidthsOutliveANewWindow) {
    TListView* view = form->ListView1;
    view->SetCheckboxes(true);
    view->Items()->Item(0)->SetChecked(true);
    EXPECT_TRUE(view->Items()->Item(0)->Checked());
    EXPECT_FALSE(view->Items()->Item(1)->Checked());
    view->SetSelected(view->Items()->Item(2));
    SendMessageA(view->Handle(), LVM_SETCOLUMNWIDTH, 1, 111); // as if dragged
    view->RecreateWnd();
    EXPECT_TRUE(view->Items()->Item(0)->Checked());
    EXPECT_FALSE(view->Items()->Item(1)->Checked());
    ASSERT_NE(view->Selected(), nullptr);
    EXPECT_EQ(view->Selected()->Caption(), "gamma");
    EXPECT_EQ(view->Columns()->Items(1)->Width(), 111);
    EXPECT_EQ(CellText(view, 2, 1), "C:\\gamma.exe");
}

TEST_F(AllControlsTest, SelectingInCodeKeepsOneRowInASingleSelectionList) {
    TListView* view = form->ListView1;
    view->Items()->Item(0)->SetSelected(true);
    view->Items()->Item(2)->SetSelected(true);
    EXPECT_EQ(view->SelCount(), 1);
    EXPECT_EQ(view->Selected(), view->Items()->Item(2));
    view->SetMultiSelect(true);
    view->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(view->SelCount(), 2);
    view->SetSelected(nullptr);
    EXPECT_EQ(view->SelCount(), 0);
    TListItem* inserted = view->Items()->Insert(0);
    inserted->SetCaption("first");
    EXPECT_EQ(CellText(view, 0, 0), "first");
    EXPECT_EQ(CellText(view, 1, 0), "alpha");
    view->Items()->Clear();
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(AllControlsTest, FreeingTheFormLeavesTheSharedSystemIconsAlone) {
    HIMAGELIST system = form->ImageList2->Handle();
    const int count = ImageList_GetImageCount(system);
    form.reset();
    Pump();
    EXPECT_EQ(ImageList_GetImageCount(system), count);
}

// ---- page control --------------------------------------------------------------------------

TEST_F(AllControlsTest, ClickingATabShowsItsPageAndHidesTheOther) {
    TPageControl* pages = form->PageControl1;
    EXPECT_TRUE(IsWindowVisible(form->TabSheet1->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->TabSheet2->Handle()));
    const TRect display = pages->DisplayRect();
    EXPECT_EQ(form->TabSheet1->Left(), display.left);
    EXPECT_EQ(form->TabSheet1->Top(), display.top);
    EXPECT_EQ(form->TabSheet1->Width(), RectWidth(display));
    char text[64] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    SendMessageA(pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(text, "Second");

    int changes = 0;
    struct Counter : TObject {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter;
    counter.n = &changes;
    pages->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    RECT r{};
    SendMessageA(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    ClickAt(pages->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet2);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(form->TabSheet2->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->TabSheet1->Handle()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form->TabSheet2->Width(), RectWidth(display));
}

TEST_F(AllControlsTest, OnChangingCanKeepThePage) {
    TPageControl* pages = form->PageControl1;
    struct Veto : TObject {
        void Changing(TObject*, bool& allow) { allow = false; }
    } veto;
    pages->OnChanging = TTabChangingEvent(&veto, &Veto::Changing);
    RECT r{};
    SendMessageA(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    ClickAt(pages->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet1);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(AllControlsTest, PagesFollowTabVisibilityCaptionsAndFreeing) {
    TPageControl* pages = form->PageControl1;
    form->TabSheet2->SetCaption("Renamed");
    char text[64] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    SendMessageA(pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(text, "Renamed");
    form->TabSheet1->SetTabVisible(false);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet1); // still shown until another is chosen
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet2);
    EXPECT_EQ(form->TabSheet2->TabIndex(), 0);
    TObject::Free(form->TabSheet2);
    form->TabSheet2 = nullptr;
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), nullptr); // the other page has no tab
}

} // namespace

namespace {

// ---- tab control ---------------------------------------------------------------------------

std::string TabText(TCustomTabControl* tabs, int index) {
    char text[64] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    SendMessageA(tabs->Handle(), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
    return text;
}

// A tab control without pages, as a description gives it: its tabs are lines of text and the
// control inside fills the display area whichever tab is chosen.
TEST(TabControl, TabsWithoutPagesSwitchAndFollowTheirList) {
    RegisterClasses({TTabControl::StaticClass(), TEdit::StaticClass()});
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    ReadComponentText(*form,
                      "object TabForm: TForm\n"
                      "  Left = 60\n  Top = 60\n  Width = 360\n  Height = 260\n"
                      "  object TabControl1: TTabControl\n"
                      "    Left = 8\n    Top = 8\n    Width = 300\n    Height = 180\n"
                      "    Tabs.Strings = (\n      'One'\n      'Two'\n      'Three')\n"
                      "    TabIndex = 1\n"
                      "    object Edit1: TEdit\n      Align = alClient\n    end\n"
                      "  end\n"
                      "end\n",
                      "TabForm");
    auto* tabs = dynamic_cast<TTabControl*>(form->FindComponent("TabControl1"));
    auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Edit1"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_NE(edit, nullptr);
    form->Show();
    Pump();
    EXPECT_EQ(WindowClassOf(tabs->Handle()), "TTabControl");
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TabText(tabs, 2), "Three");
    EXPECT_EQ(tabs->TabIndex(), 1);
    const TRect display = tabs->DisplayRect();
    EXPECT_EQ(edit->Left(), display.left);
    EXPECT_EQ(edit->Top(), display.top);
    EXPECT_EQ(edit->Width(), RectWidth(display));

    int changes = 0;
    struct Counter : TObject {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter;
    counter.n = &changes;
    tabs->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    RECT r{};
    SendMessageA(tabs->Handle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    ClickAt(tabs->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(IsWindowVisible(edit->Handle())); // no pages to hide it

    tabs->Tabs()->Delete(2); // the chosen tab goes: the last one left is chosen
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(tabs->TabIndex(), 1);
    tabs->Tabs()->Insert(0, "Zero");
    EXPECT_EQ(TabText(tabs, 0), "Zero");
    tabs->Tabs()->Clear();
    EXPECT_EQ(tabs->TabIndex(), -1);
    tabs->Tabs()->Add("Again");
    EXPECT_EQ(tabs->TabIndex(), 0);
}

} // namespace
