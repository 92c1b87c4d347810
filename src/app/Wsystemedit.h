// The startup-items dialog: the startup catalogue as a list, and deletion of the selected entry.
#pragma once

#include "ComCtrls.h"
#include "Forms.h"
#include "ImageList.h"
#include "StartupCatalogue.h"
#include "StdCtrls.h"

#include <memory>

class Tsystemedit : public TForm {
    TW_DECLARE_CLASS(Tsystemedit, TForm)
    using TForm::TForm;
    ~Tsystemedit() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TLabel* Label1 = nullptr;
    TListView* bootList = nullptr;
    TButton* Button2 = nullptr;
    TImageList* ImageList1 = nullptr;

    void FormCreate(TObject* Sender);
    void Button2Click(TObject* Sender);

private:
    void ShowItems();

    std::unique_ptr<TStartupSystem> FSystem;
    std::unique_ptr<TStartupCatalogue> FCatalogue;
};

extern Tsystemedit* systemedit;
