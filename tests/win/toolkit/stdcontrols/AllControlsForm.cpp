#include "AllControlsForm.h"

#include "Jpeg.h"

#include <shellapi.h>

TClass TAllControlsForm::StaticClass() {
    using F = TAllControlsForm;
    static const TClassInfo info = TClassBuilder<F>("TAllControlsForm")
                                       .Field("ToolBar1", &F::ToolBar1)
                                       .Field("ToolButton1", &F::ToolButton1)
                                       .Field("ToolButton2", &F::ToolButton2)
                                       .Field("ToolButton3", &F::ToolButton3)
                                       .Field("ToolButton4", &F::ToolButton4)
                                       .Field("Splitter1", &F::Splitter1)
                                       .Field("Splitter2", &F::Splitter2)
                                       .Field("StatusBar1", &F::StatusBar1)
                                       .Field("PageControl1", &F::PageControl1)
                                       .Field("TabSheet1", &F::TabSheet1)
                                       .Field("TabSheet2", &F::TabSheet2)
                                       .Field("Label1", &F::Label1)
                                       .Field("ListView1", &F::ListView1)
                                       .Field("DeleteButton", &F::DeleteButton)
                                       .Field("Panel1", &F::Panel1)
                                       .Field("Image1", &F::Image1)
                                       .Field("Image2", &F::Image2)
                                       .Field("GroupBox1", &F::GroupBox1)
                                       .Field("RadioButton1", &F::RadioButton1)
                                       .Field("RadioButton2", &F::RadioButton2)
                                       .Field("ComboBox1", &F::ComboBox1)
                                       .Field("CheckBox1", &F::CheckBox1)
                                       .Field("Edit1", &F::Edit1)
                                       .Field("Label2", &F::Label2)
                                       .Field("Label3", &F::Label3)
                                       .Field("ImageList1", &F::ImageList1)
                                       .Field("ImageList2", &F::ImageList2)
                                       .Field("MainMenu1", &F::MainMenu1)
                                       .Field("Open1", &F::Open1)
                                       .Field("Exit1", &F::Exit1)
                                       .Field("PopupMenu1", &F::PopupMenu1)
                                       .Field("PopupFirst", &F::PopupFirst)
                                       .Field("PopupSecond", &F::PopupSecond)
                                       .Field("PopupThird", &F::PopupThird)
                                       .Method<TNotifyEvent>("FormCreate", &F::FormCreate)
                                       .Method<TNotifyEvent>("ToolButtonClick", &F::ToolButtonClick)
                                       .Method<TNotifyEvent>("DeleteButtonClick", &F::DeleteButtonClick)
                                       .Method<TNotifyEvent>("RadioButton1Click", &F::RadioButton1Click)
                                       .Method<TNotifyEvent>("RadioButton2Click", &F::RadioButton2Click)
                                       .Method<TNotifyEvent>("LinkClick", &F::LinkClick)
                                       .Method<TMouseMoveEvent>("LinkMouseMove", &F::LinkMouseMove)
                                       .Method<TNotifyEvent>("LinkMouseLeave", &F::LinkMouseLeave)
                                       .Method<TNotifyEvent>("MenuClick", &F::MenuClick)
                                       .Build();
    return &info;
}

namespace {

// Three 32 x 32 toolbar pictures on a fuchsia key: a green square, a blue disc, a grey bar.
void FillToolbarImages(TImageList& list) {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(96, 32);
    TCanvas* canvas = strip.Canvas();
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(0, 0, 96, 32));
    canvas->Brush()->SetColor(RGBColor(30, 160, 60));
    canvas->FillRect(Rect(4, 4, 28, 28));
    canvas->Brush()->SetColor(RGBColor(40, 90, 220));
    canvas->Pen()->SetColor(RGBColor(40, 90, 220));
    canvas->Ellipse(36, 4, 60, 28);
    canvas->Brush()->SetColor(RGBColor(120, 120, 120));
    canvas->FillRect(Rect(68, 12, 92, 20));
    list.AddMasked(&strip, clFuchsia);
}

} // namespace

void TAllControlsForm::FormCreate(TObject*) {
    FillToolbarImages(*ImageList1);
    // Row images are the system's small icons, shared, never owned.
    SHFILEINFOA info{};
    auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ImageList2->SetHandle(system);
    const char* rows[][4] = {{"alpha", "C:\\alpha.exe", "Yes", "0"},
                             {"beta", "C:\\beta.exe", "No", "1"},
                             {"gamma", "C:\\gamma.exe", "Yes", "2"}};
    ListView1->Items()->BeginUpdate();
    for (int i = 0; i < 3; ++i) {
        TListItem* item = ListView1->Items()->Add();
        item->SetCaption(rows[i][0]);
        for (int s = 1; s < 4; ++s)
            item->SubItems()->Add(rows[i][s]);
        item->SetImageIndex(i);
    }
    ListView1->Items()->EndUpdate();
    Log.push_back("create");
}

void TAllControlsForm::ToolButtonClick(TObject* sender) {
    Log.push_back("tool " + static_cast<TComponent*>(sender)->Name());
}

void TAllControlsForm::DeleteButtonClick(TObject*) {
    if (TListItem* item = ListView1->Selected()) {
        Log.push_back("delete " + item->Caption());
        item->Delete();
    }
}

void TAllControlsForm::RadioButton1Click(TObject*) {
    ComboBox1->SetEnabled(false);
}

void TAllControlsForm::RadioButton2Click(TObject*) {
    ComboBox1->SetEnabled(true);
}

void TAllControlsForm::LinkClick(TObject*) {
    Log.push_back("link");
}

void TAllControlsForm::LinkMouseMove(TObject*, TShiftState, int, int) {
    Label2->Font()->SetColor(clRed);
}

void TAllControlsForm::LinkMouseLeave(TObject*) {
    Label2->Font()->SetColor(clBlue);
}

void TAllControlsForm::MenuClick(TObject* sender) {
    Log.push_back("menu " + static_cast<TComponent*>(sender)->Name());
}

void UseAllControlClasses() {
    RegisterClasses(
        {TAllControlsForm::StaticClass(), TToolBar::StaticClass(),     TToolButton::StaticClass(),
         TSplitter::StaticClass(),        TStatusBar::StaticClass(),   TPageControl::StaticClass(),
         TTabSheet::StaticClass(),        TLabel::StaticClass(),       TListView::StaticClass(),
         TButton::StaticClass(),          TPanel::StaticClass(),       TImage::StaticClass(),
         TGroupBox::StaticClass(),        TRadioButton::StaticClass(), TComboBox::StaticClass(),
         TCheckBox::StaticClass(),        TEdit::StaticClass(),        TImageList::StaticClass(),
         TMainMenu::StaticClass(),        TPopupMenu::StaticClass(),   TMenuItem::StaticClass(),
         TJPEGImage::StaticClass()});
}

TAllControlsForm* CreateAllControlsForm() {
    UseAllControlClasses();
    return CreateForm<TAllControlsForm>(nullptr);
}
