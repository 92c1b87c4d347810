// A form with every standard control and both kinds of menu, read from its description
// (AllControls.form), and the handlers its description binds.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <string>
#include <vector>

class TAllControlsForm : public TForm {
    TW_DECLARE_CLASS(TAllControlsForm, TForm)
    using TForm::TForm;

    TToolBar* ToolBar1 = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TToolButton* ToolButton2 = nullptr;
    TToolButton* ToolButton3 = nullptr;
    TToolButton* ToolButton4 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TSplitter* Splitter2 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TLabel* Label1 = nullptr;
    TListView* ListView1 = nullptr;
    TButton* DeleteButton = nullptr;
    TPanel* Panel1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* Open1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* PopupFirst = nullptr;
    TMenuItem* PopupSecond = nullptr;
    TMenuItem* PopupThird = nullptr;

    // What the handlers saw, in order.
    std::vector<std::string> Log;

    void FormCreate(TObject* sender);
    void ToolButtonClick(TObject* sender);
    void DeleteButtonClick(TObject* sender);
    void RadioButton1Click(TObject* sender);
    void RadioButton2Click(TObject* sender);
    void LinkClick(TObject* sender);
    void LinkMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void LinkMouseLeave(TObject* sender);
    void MenuClick(TObject* sender);
};

// The classes the description names, linked in and registered.
void UseAllControlClasses();

// Creates the form from its description; freed by the caller.
TAllControlsForm* CreateAllControlsForm();
