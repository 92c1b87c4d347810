// The main window: toolbar commands, the vendor's start page and the status bar.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImageList.h"
#include "WebBrowser.h"
#include "WinSkinDataComponent.h"

class Tmain : public TForm {
    TW_DECLARE_CLASS(Tmain, TForm)
    using TForm::TForm;

    TToolBar* ToolBar1 = nullptr;
    TToolButton* ToolButton2 = nullptr;
    TToolButton* ToolButton3 = nullptr;
    TToolButton* ToolButton6 = nullptr;
    TToolButton* ToolButton7 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TWebBrowser* WebBrowser1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TSkinData* SkinData1 = nullptr;

    void FormCreate(TObject* Sender);
    void ToolButton2Click(TObject* Sender); // clean temporary files
    void ToolButton3Click(TObject* Sender); // startup items
    void ToolButton6Click(TObject* Sender); // about
    void ToolButton7Click(TObject* Sender); // USB immunizer
};

// The form instance "main": C++ reserves that name at global scope, hence the underscore.
extern Tmain* main_;

// An environment variable as the program reads it: empty when missing.
std::string EnvironmentText(const char* name);

// Starts the cleaning command line with the system's own interpreter; WinExec's value.
unsigned StartCleaning();
