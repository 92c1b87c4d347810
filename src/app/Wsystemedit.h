// The startup-items dialog: the startup catalogue as a list, and deletion of the selected entry.
#pragma once

#include "Forms.h"
#include "StartupCatalogue.h"
#include "StdCtrls.h"

#include <memory>

class Tsystemedit : public TForm {
    TW_DECLARE_CLASS(Tsystemedit, TForm)
    using TForm::TForm;
    ~Tsystemedit() override;

    TLabel* Label1 = nullptr;
    TButton* Button2 = nullptr;

    void FormCreate(TObject* Sender);
    void Button2Click(TObject* Sender);

    const TStartupCatalogue* Catalogue() const { return FCatalogue.get(); }

private:
    std::unique_ptr<TStartupSystem> FSystem;
    std::unique_ptr<TStartupCatalogue> FCatalogue;
};

extern Tsystemedit* systemedit;
