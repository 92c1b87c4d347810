// The main window: toolbar commands, the vendor's start page and the status bar.
#pragma once

#include "Forms.h"
#include "WebBrowser.h"
#include "WinSkinDataComponent.h"

class Tmain : public TForm {
    TW_DECLARE_CLASS(Tmain, TForm)
    using TForm::TForm;

    TWebBrowser* WebBrowser1 = nullptr;
    TSkinData* SkinData1 = nullptr;

    void FormCreate(TObject* Sender);
    void ToolButton2Click(TObject* Sender); // clean temporary files
    void ToolButton3Click(TObject* Sender); // startup items
    void ToolButton6Click(TObject* Sender); // about
    void ToolButton7Click(TObject* Sender); // USB immunizer

    // Status panel 1 as FormCreate set it.
    const std::string& StatusText() const { return FStatusText; }

private:
    std::string FStatusText;
};

// The form instance "main": C++ reserves that name at global scope, hence the underscore.
extern Tmain* main_;

// An environment variable as the program reads it: empty when missing.
std::string EnvironmentText(const char* name);
