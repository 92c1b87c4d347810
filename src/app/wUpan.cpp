#include "wUpan.h"

#include "DriveCommand.h"
#include "Jpeg.h"
#include "Streams.h"

Tupan* upan = nullptr;

TClass Tupan::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tupan>("Tupan")
                                       .Field("Image1", &Tupan::Image1)
                                       .Field("RadioButton1", &Tupan::RadioButton1)
                                       .Field("RadioButton2", &Tupan::RadioButton2)
                                       .Field("ComboBox1", &Tupan::ComboBox1)
                                       .Field("Button1", &Tupan::Button1)
                                       .Field("Button2", &Tupan::Button2)
                                       .Method<TNotifyEvent>("FormCreate", &Tupan::FormCreate)
                                       .Method<TNotifyEvent>("RadioButton1Click", &Tupan::RadioButton1Click)
                                       .Method<TNotifyEvent>("RadioButton2Click", &Tupan::RadioButton2Click)
                                       .Method<TNotifyEvent>("Button1Click", &Tupan::Button1Click)
                                       .Method<TNotifyEvent>("Button2Click", &Tupan::Button2Click)
                                       .Build();
    return &info;
}

Tupan::~Tupan() = default;

void Tupan::FormCreate(TObject*) {
    // The picture is stored as a JPEG resource rather than inside the description.
    TJPEGImage picture;
    TResourceStream stream(GetModuleHandleA(nullptr), "IMMUNIZERPICTURE", MAKEINTRESOURCEA(10));
    picture.LoadFromStream(stream);
    Image1->Picture()->Assign(&picture);

    FImmunizer = std::make_unique<TDriveImmunizer>(FSystem);
    FImmunizer->Enumerate();
    for (const std::string& root : FImmunizer->Roots())
        ComboBox1->Items()->Add(root);
}

void Tupan::RadioButton1Click(TObject*) {
    ComboBox1->SetEnabled(false);
}

void Tupan::RadioButton2Click(TObject*) {
    ComboBox1->SetEnabled(true);
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
        case TImmunizerNotice::inImmunizeFailed:
            MessageBoxA(Handle(), ImmunizeFailedText(FImmunizer->FailedRoots()).c_str(), kImmunizerCaption,
                        MB_OK | MB_ICONWARNING);
            break;
        case TImmunizerNotice::inReleaseFailed:
            MessageBoxA(Handle(), ReleaseFailedText(FImmunizer->FailedRoots()).c_str(), kImmunizerCaption,
                        MB_OK | MB_ICONWARNING);
            break;
        }
    }
}

void Tupan::Button1Click(TObject*) {
    Tell(FImmunizer->Immunize(RadioButton1->Checked(), RadioButton2->Checked(), ComboBox1->Text()));
}

void Tupan::Button2Click(TObject*) {
    Tell(FImmunizer->Release(RadioButton1->Checked(), RadioButton2->Checked(), ComboBox1->Text()));
}
