#include "Wsystemedit.h"

#include "StartupSystem.h"

Tsystemedit* systemedit = nullptr;

TClass Tsystemedit::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tsystemedit>("Tsystemedit")
                                       .Field("Label1", &Tsystemedit::Label1)
                                       .Field("Button2", &Tsystemedit::Button2)
                                       .Method<TNotifyEvent>("FormCreate", &Tsystemedit::FormCreate)
                                       .Method<TNotifyEvent>("Button2Click", &Tsystemedit::Button2Click)
                                       .Build();
    return &info;
}

Tsystemedit::~Tsystemedit() = default;

void Tsystemedit::FormCreate(TObject*) {
    FSystem = std::make_unique<TWinStartupSystem>(Handle());
    FCatalogue = std::make_unique<TStartupCatalogue>(*FSystem);
    FCatalogue->LoadStartupItems();
}

void Tsystemedit::Button2Click(TObject*) {
    // The list view arrives with the standard controls; until then there is no selection.
}
