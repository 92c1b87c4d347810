// The About box: picture, version, copyright line and a link to the product page.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class Tabout : public TForm {
    TW_DECLARE_CLASS(Tabout, TForm)
    using TForm::TForm;

    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;

    void FormCreate(TObject* Sender);
    void Label3MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Label3MouseLeave(TObject* Sender);
    void Label3Click(TObject* Sender);
};

extern Tabout* about;
