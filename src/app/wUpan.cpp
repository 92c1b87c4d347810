#include "wUpan.h"

#include "DriveCommand.h"

Tupan* upan = nullptr;

TClass Tupan::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tupan>("Tupan")
                                       .Field("Button1", &Tupan::Button1)
                                       .Field("Button2", &Tupan::Button2)
                                       .Method<TNotifyEvent>("FormCreate", &Tupan::FormCreate)
                                       .Method<TNotifyEvent>("Button1Click", &Tupan::Button1Click)
                                       .Method<TNotifyEvent>("Button2Click", &Tupan::Button2Click)
                                       .Build();
    return &info;
}

Tupan::~Tupan() = default;

void Tupan::FormCreate(TObject*) {
    FImmunizer = std::make_unique<TDriveImmunizer>(FSystem);
    FImmunizer->Enumerate();
}

void Tupan::Tell(const std::vector<TImmunizerNotice>& notices) {
    for (TImmunizerNotice notice : notices) {
        switch (notice) {
        case TImmunizerNotice::inImmunized:
            MessageBoxA(Handle(), kImmunizedText, kImmunizerCaption, MB_OK);
            break;
        case TImmunizerNotice::inReleased:
            MessageBoxA(Handle(), kReleasedText, kImmunizerCaption, MB_OK);
            break;
        case TImmunizerNotice::inUnsafeRoot:
            MessageBoxA(Handle(), kUnsafeRootText, kImmunizerCaption, MB_OK | MB_ICONWARNING);
            break;
        }
    }
}

// The radio pair and the drive list arrive with the standard controls; until then the dialog
// acts on every drive.
void Tupan::Button1Click(TObject*) {
    Tell(FImmunizer->Immunize(true, false, ""));
}

void Tupan::Button2Click(TObject*) {
    Tell(FImmunizer->Release(true, false, ""));
}
