#include "Wsystemedit.h"

#include "MainText.h"
#include "StartupSystem.h"

Tsystemedit* systemedit = nullptr;

TClass Tsystemedit::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tsystemedit>("Tsystemedit")
                                       .Field("PageControl1", &Tsystemedit::PageControl1)
                                       .Field("TabSheet1", &Tsystemedit::TabSheet1)
                                       .Field("Label1", &Tsystemedit::Label1)
                                       .Field("bootList", &Tsystemedit::bootList)
                                       .Field("Button2", &Tsystemedit::Button2)
                                       .Field("ImageList1", &Tsystemedit::ImageList1)
                                       .Method<TNotifyEvent>("FormCreate", &Tsystemedit::FormCreate)
                                       .Method<TNotifyEvent>("Button2Click", &Tsystemedit::Button2Click)
                                       .Build();
    return &info;
}

Tsystemedit::~Tsystemedit() = default;

void Tsystemedit::FormCreate(TObject*) {
    // Row image indices are system icon indices: the list shows the shell's own small icons.
    ImageList1->SetShareImages(true);
    ImageList1->SetHandle(SystemSmallIcons());
    bootList->SetDoubleBuffered(true);
    Font()->SetHandle(Screen->MenuFont());
    bootList->SetShowColumnHeaders(false);
    FSystem = std::make_unique<TWinStartupSystem>(Handle());
    FCatalogue = std::make_unique<TStartupCatalogue>(*FSystem);
    FCatalogue->LoadStartupItems();
    ShowItems();
    bootList->SetShowColumnHeaders(true);
}

void Tsystemedit::ShowItems() {
    for (const TStartupEntry& entry : FCatalogue->Items()) {
        TListItem* item = bootList->Items()->Add();
        item->SetCaption(entry.Name);
        item->SubItems()->Add(entry.Command);
        item->SubItems()->Add(entry.Exists);
        item->SubItems()->Add(entry.Kind);
        item->SubItems()->Add(entry.Disabled);
        item->SetChecked(entry.Marked);
        item->SetImageIndex(entry.Icon);
    }
}

void Tsystemedit::Button2Click(TObject*) {
    TListItem* selected = bootList->Selected();
    if (!selected)
        return;
    std::string reason;
    // Only a deletion that took effect removes the row; a refused one says why.
    if (FCatalogue->DeleteStartupItem(selected->Caption(), selected->SubItems()->Strings(2), reason))
        selected->Delete();
    else
        Application->MessageBox("无法删除启动项“" + selected->Caption() + "”：" + reason,
                                Application->Title(), MB_OK | MB_ICONWARNING);
}
