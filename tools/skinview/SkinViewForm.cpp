#include "SkinViewForm.h"

#include "SkinMessage.h"
#include "SkinViewFiles.h"
#include "Streams.h"
#include "SysUtils.h"
#include "WinSkinManage.h"

#include <windowsx.h>

namespace {

// Place and create a control of the form's component tree.
template <class T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
         const char* caption = nullptr) {
    auto* control = new T(owner);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    if (caption)
        control->SetCaption(caption);
    return control;
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* caption, TNotifyEvent onClick = {}) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = onClick;
    parent->Add(item);
    return item;
}

// A 16 x 16 glyph: a blue square with a white bar on the transparent colour, so that the glyph
// painter's transparency shows as well as the picture.
void DrawGlyph(TBitmap& glyph) {
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 16);
    TCanvas* canvas = glyph.Canvas();
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(TRect{0, 0, 16, 16});
    canvas->Brush()->SetColor(static_cast<TColor>(0xB05010));
    canvas->FillRect(TRect{2, 2, 14, 14});
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect{4, 7, 12, 9});
}

} // namespace

TClass TDropDownButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDropDownButton>("TDropDownButton").Build();
    return &info;
}

TClass TSkinViewForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinViewForm>("TSkinViewForm").Build();
    return &info;
}

TSkinViewForm::TSkinViewForm(TComponent* owner) : TForm(owner, TCreateNew{}) {
    SetCaption("Skin preview");
    SetBounds(10, 10, 712, 580);
    FSkin = new TSkinData(this);
    FSkin->SetSkinFormtype(sfMainform);
    // Controls of these classes are drawn as the named kinds only through the class map.
    for (const char* line : {"TProgressBar=progress", "TTrackBar=trackbar", "TGroupBox=groupbox",
                             "TBitBtn=bitbtn", "TCheckBox=checkbox", "TSpeedButton=speedbutton",
                             "TDropDownButton=menubtn", "TDateTimePicker=datetimepicker"})
        FSkin->Skin3rd()->Add(line);
    FSkin->AssignActive(true); // stored until a skin is there, as while a form is read
    BuildMenus();
    BuildButtons();
    BuildMarks();
    BuildInputs();
    BuildLists();
    BuildScrolled();
    BuildBars();
    BuildSecondWindow();
}

void TSkinViewForm::BuildMenus() {
    FParts.Menu = new TMainMenu(this);
    TMenuItem* file = AddItem(this, FParts.Menu->Items(), "&File");
    AddItem(this, file, "&Open skin...", TNotifyEvent(this, &TSkinViewForm::ChooseSkin))
        ->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    AddItem(this, file, "-");
    AddItem(this, file, "E&xit", TNotifyEvent(this, &TSkinViewForm::CloseView));
    TMenuItem* items = AddItem(this, FParts.Menu->Items(), "&Items");
    AddItem(this, items, "&Checked item")->SetChecked(true);
    AddItem(this, items, "&Disabled item")->SetEnabled(false);
    TMenuItem* more = AddItem(this, items, "&More");
    AddItem(this, more, "Sub-item &one");
    AddItem(this, more, "Sub-item &two");
    AddItem(this, FParts.Menu->Items(), "&Help");
    SetMenu(FParts.Menu);

    FParts.Popup = new TPopupMenu(this);
    AddItem(this, FParts.Popup->Items(), "&Open skin...", TNotifyEvent(this, &TSkinViewForm::ChooseSkin));
    AddItem(this, FParts.Popup->Items(), "-");
    AddItem(this, FParts.Popup->Items(), "&Checked item")->SetChecked(true);
    AddItem(this, FParts.Popup->Items(), "&Disabled item")->SetEnabled(false);
}

void TSkinViewForm::BuildButtons() {
    FParts.Button = Place<TButton>(this, this, 8, 8, 90, 26, "Button");
    FParts.DisabledButton = Place<TButton>(this, this, 104, 8, 90, 26, "Disabled");
    FParts.DisabledButton->SetEnabled(false);
    FParts.GlyphButton = Place<TBitBtn>(this, this, 200, 8, 100, 26, "Glyph");
    TBitmap glyph;
    DrawGlyph(glyph);
    FParts.GlyphButton->SetGlyph(&glyph);
    FParts.SpeedButton = Place<TSpeedButton>(this, this, 306, 8, 26, 26);
    FParts.SpeedButton->SetGlyph(&glyph);
    FParts.DropDownButton = Place<TDropDownButton>(this, this, 338, 8, 110, 26, "Drop-down");
}

void TSkinViewForm::BuildMarks() {
    FParts.Group = Place<TGroupBox>(this, this, 8, 40, 200, 106, "Group box");
    FParts.Radio = Place<TRadioButton>(this, FParts.Group, 12, 22, 170, 20, "Radio button");
    FParts.CheckedRadio = Place<TRadioButton>(this, FParts.Group, 12, 46, 170, 20, "Checked radio");
    FParts.CheckedRadio->SetChecked(true);
    FParts.DisabledRadio = Place<TRadioButton>(this, FParts.Group, 12, 70, 170, 20, "Disabled radio");
    FParts.DisabledRadio->SetEnabled(false);

    FParts.Unchecked = Place<TCheckBox>(this, this, 220, 44, 150, 20, "Check box");
    FParts.Checked = Place<TCheckBox>(this, this, 220, 68, 150, 20, "Checked");
    FParts.Checked->SetChecked(true);
    FParts.Grayed = Place<TCheckBox>(this, this, 220, 92, 150, 20, "Grayed");
    FParts.Grayed->SetAllowGrayed(true);
    FParts.Grayed->SetState(cbGrayed);
    FParts.DisabledCheck = Place<TCheckBox>(this, this, 220, 116, 150, 20, "Disabled checked");
    FParts.DisabledCheck->SetChecked(true);
    FParts.DisabledCheck->SetEnabled(false);

    FParts.Panel = Place<TPanel>(this, this, 384, 44, 304, 102, "Panel");
}

void TSkinViewForm::BuildInputs() {
    FParts.Edit = Place<TEdit>(this, this, 8, 156, 160, 22);
    FParts.Edit->SetText("Edit");
    FParts.Combo = Place<TComboBox>(this, this, 176, 156, 160, 22);
    for (const char* item : {"Combo box", "Second item", "Third item"})
        FParts.Combo->Items()->Add(item);
    FParts.Combo->SetItemIndex(0);
    FParts.Date = Place<TDateTimePicker>(this, this, 344, 156, 130, 22);
    // A spin edit: the edit and its up-down buttons side by side.
    FParts.SpinEdit = Place<TEdit>(this, this, 482, 156, 70, 22);
    FParts.SpinEdit->SetText("12");
    FParts.Spin = Place<TUpDown>(this, this, 552, 156, 17, 22);
}

void TSkinViewForm::BuildLists() {
    FParts.List = Place<TListView>(this, this, 8, 188, 330, 168);
    FParts.List->SetViewStyle(vsReport);
    FParts.List->SetRowSelect(true);
    // Wider than the list and longer than it is high: both scroll bars show.
    for (const auto& [caption, width] : {std::pair{"Name", 150}, {"Value", 220}}) {
        TListColumn* column = FParts.List->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }
    FParts.List->Items()->BeginUpdate();
    for (int i = 1; i <= 40; ++i) {
        TListItem* item = FParts.List->Items()->Add();
        item->SetCaption("Item " + std::to_string(i));
        item->SubItems()->Add("Value " + std::to_string(i * 7));
    }
    FParts.List->Items()->EndUpdate();

    auto pages = [this](int left, TTabPosition position) {
        auto* control = Place<TPageControl>(this, this, left, 188, 170, 168);
        control->SetTabPosition(position);
        for (const char* caption : {"First", "Second"}) {
            auto* sheet = new TTabSheet(this);
            sheet->SetPageControl(control);
            sheet->SetCaption(caption);
        }
        control->SetActivePageIndex(0);
        return control;
    };
    FParts.TopTabs = pages(346, tpTop);
    FParts.BottomTabs = pages(520, tpBottom);

    FParts.TabSet = Place<TTabSet>(this, this, 544, 364, 150, 24);
    for (const char* caption : {"One", "Two", "Three", "Four"})
        FParts.TabSet->Tabs()->Add(caption);
    FParts.TabSet->SetTabIndex(1);
}

void TSkinViewForm::BuildScrolled() {
    FParts.ListBox = Place<TListBox>(this, this, 8, 404, 120, 84);
    for (int i = 1; i <= 20; ++i)
        FParts.ListBox->AddItem("List box line " + std::to_string(i));
    FParts.Memo = Place<TMemo>(this, this, 136, 404, 170, 84);
    FParts.Memo->SetScrollBars(ssBoth);
    for (int i = 1; i <= 12; ++i)
        FParts.Memo->AddLine("Memo line " + std::to_string(i) + ", long enough to need the horizontal bar");
    FParts.ScrollBar = Place<TScrollBar>(this, this, 314, 404, 150, 17);
    FParts.ScrollBar->SetPageSize(20);
    FParts.ScrollBar->SetPosition(30);
    // Turning a bar upright swaps its width and height.
    FParts.VerticalScrollBar = Place<TScrollBar>(this, this, 314, 428, 60, 17);
    FParts.VerticalScrollBar->SetKind(sbkVertical);
    FParts.VerticalScrollBar->SetPageSize(20);
    FParts.VerticalScrollBar->SetPosition(50);
}

void TSkinViewForm::BuildBars() {
    FParts.Progress = Place<TProgressBar>(this, this, 8, 370, 220, 18);
    FParts.Progress->SetPosition(60);
    FParts.Track = Place<TTrackBar>(this, this, 236, 364, 220, 32);
    FParts.Track->SetPosition(4);
    FParts.VerticalProgress = Place<TProgressBar>(this, this, 470, 364, 18, 90);
    FParts.VerticalProgress->SetOrientation(pbVertical);
    FParts.VerticalProgress->SetPosition(40);
    // Standing up swaps the bar's width and height, as for the scroll bar.
    FParts.VerticalTrack = Place<TTrackBar>(this, this, 500, 364, 100, 32);
    FParts.VerticalTrack->SetOrientation(trVertical);
    FParts.VerticalTrack->SetPosition(6);

    FParts.Status = Place<TStatusBar>(this, this, 0, 0, 0, 20);
    FParts.Status->SetAlign(alBottom);
    for (const auto& [text, width] : {std::pair{"Status panel", 160}, {"Second panel", 160}, {"", 50}}) {
        TStatusPanel* panel = FParts.Status->Panels()->Add();
        panel->SetText(text);
        panel->SetWidth(width);
    }
}

void TSkinViewForm::BuildSecondWindow() {
    FSecond = new TForm(this, TCreateNew{});
    FSecond->SetCaption("Inactive window");
    FSecond->SetBounds(730, 10, 280, 150);
    Place<TButton>(FSecond, FSecond, 12, 12, 100, 26, "Button");
    Place<TCheckBox>(FSecond, FSecond, 12, 48, 150, 20, "Check box")->SetChecked(true);
}

void TSkinViewForm::CreateWnd() {
    TForm::CreateWnd();
    DragAcceptFiles(Handle(), TRUE);
}

void TSkinViewForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(message.WParam));
        message.Result = 0;
        return;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(message.WParam) == Handle()) {
            POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            if (at.x == -1 && at.y == -1) { // from the keyboard: at the form's top-left
                at = {0, 0};
                ::ClientToScreen(Handle(), &at);
            }
            FParts.Popup->Popup(at.x, at.y);
            message.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TForm::WndProc(message);
}

bool TSkinViewForm::OpenSkin(const std::wstring& path) {
    TMemoryStream candidate;
    std::string problem;
    if (!ReadSkinFile(path, candidate, problem)) {
        ShowSkinMessage("The skin file " + WideToAnsi(path) + " cannot be used.\r" + problem +
                        (FSkin->SkinLoading() ? "" : "\rThe current skin stays."));
        return false;
    }
    const bool first = FSkin->SkinLoading();
    const bool loaded = FSkin->ReplaceSkin(candidate, WideToAnsi(path));
    if (first && loaded)
        FSkin->AfterLoad(); // registers with the watcher and starts skinning, as a form read does
    else if (!first)
        FSkin->ApplySkin(); // the skin held now, new or reloaded, reaches every window
    if (loaded) {
        FSkinPath = path;
        UpdateCaption();
    }
    return loaded;
}

void TSkinViewForm::UpdateCaption() {
    const auto slash = FSkinPath.find_last_of(L"\\/");
    SetCaption("Skin preview - " +
               WideToAnsi(slash == std::wstring::npos ? FSkinPath : FSkinPath.substr(slash + 1)));
}

void TSkinViewForm::ChooseSkin(TObject*) {
    const std::wstring path = AskForSkinFile(Handle(), FSkinPath);
    if (!path.empty())
        OpenSkin(path);
}

void TSkinViewForm::CloseView(TObject*) {
    Close();
}

void TSkinViewForm::DropFiles(HDROP drop) {
    std::wstring path;
    if (const UINT length = DragQueryFileW(drop, 0, nullptr, 0); length > 0) {
        path.resize(length + 1);
        DragQueryFileW(drop, 0, path.data(), length + 1);
        path.resize(length);
    }
    DragFinish(drop);
    if (!path.empty())
        OpenSkin(path);
}
