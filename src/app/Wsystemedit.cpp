#include "Wsystemedit.h"

#include "MainText.h"
#include "StartupSystem.h"

#include <cstdint>

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
    const std::vector<TStartupEntry>& entries = FCatalogue->Items();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TStartupEntry& entry = entries[i];
        TListItem* item = bootList->Items()->Add();
        item->SetCaption(entry.Name);
        item->SubItems()->Add(entry.Command);
        item->SubItems()->Add(entry.Exists);
        item->SubItems()->Add(entry.Kind);
        item->SubItems()->Add(entry.Disabled);
        item->SetChecked(entry.Marked);
        item->SetImageIndex(entry.Icon);
        // The row's entry, for what the row does not show (its folder, its registry view).
        item->SetData(reinterpret_cast<void*>(static_cast<std::uintptr_t>(i)));
    }
}

void Tsystemedit::Button2Click(TObject*) {
    TListItem* selected = bootList->Selected();
    if (!selected)
        return;
    const TStartupEntry& entry = FCatalogue->Items().at(reinterpret_cast<std::uintptr_t>(selected->Data()));
    const std::string name = selected->Caption();
    std::string reason;
    switch (FCatalogue->DeleteStartupItem(entry, reason)) {
    case TDeleteResult::drDeleted:
        selected->Delete();
        break;
    case TDeleteResult::drAlreadyGone:
        // What the user asked for holds already: the row goes, with a word why nothing was deleted.
        selected->Delete();
        Application->MessageBox("启动项“" + name + "”已经不存在，已从列表中移除。", Application->Title(),
                                MB_OK | MB_ICONINFORMATION);
        break;
    case TDeleteResult::drRefused:
        // Only a deletion that took effect removes the row; a refused one says why.
        Application->MessageBox("无法删除启动项“" + name + "”：" + reason, Application->Title(),
                                MB_OK | MB_ICONWARNING);
        break;
    }
}
