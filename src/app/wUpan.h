// The USB-drive immunizer dialog.
#pragma once

#include "DriveImmunizer.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImmunizerSystem.h"
#include "StdCtrls.h"

#include <memory>

class Tupan : public TForm {
    TW_DECLARE_CLASS(Tupan, TForm)
    using TForm::TForm;
    ~Tupan() override;

    TImage* Image1 = nullptr;
    TRadioButton* RadioButton1 = nullptr; // all local drives
    TRadioButton* RadioButton2 = nullptr; // one chosen drive
    TComboBox* ComboBox1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    void FormCreate(TObject* Sender);
    void RadioButton1Click(TObject* Sender);
    void RadioButton2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);

    const TDriveImmunizer* Immunizer() const { return FImmunizer.get(); }

private:
    // Runs an immunizer command with the dialog's choices locked, then tells the outcome.
    template <class Command>
    void RunCommand(Command command);
    void SetChoicesEnabled(bool enabled);
    void Tell(const std::vector<TImmunizerNotice>& notices);

    // While a command runs the dialog keeps handling its messages (painting, the skin's timers).
    TWinImmunizerSystem FSystem{[] {
        Application->ProcessMessages();
        return !Application->Terminated();
    }};
    std::unique_ptr<TDriveImmunizer> FImmunizer;
};

extern Tupan* upan;
