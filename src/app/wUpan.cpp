#include "wUpan.h"

#include "DriveCommand.h"
#include "Jpeg.h"
#include "Streams.h"

#include <initializer_list>

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

void Tupan::SetChoicesEnabled(bool enabled) {
    for (TWinControl* control :
         std::initializer_list<TWinControl*>{Button1, Button2, RadioButton1, RadioButton2})
        control->SetEnabled(enabled);
    ComboBox1->SetEnabled(enabled && RadioButton2->Checked());
}

template <class Command>
void Tupan::RunCommand(Command command) {
    // A press that arrives while a command runs (its messages are handled meanwhile) is ignored.
    if (FImmunizer->Busy())
        return;
    // Disabling the pressed button takes the keyboard focus away: it goes back afterwards.
    struct TLocked {
        Tupan& Form;
        HWND Focus = GetFocus();
        explicit TLocked(Tupan& form) : Form(form) { Form.SetChoicesEnabled(false); }
        TLocked(const TLocked&) = delete;
        TLocked& operator=(const TLocked&) = delete;
        ~TLocked() {
            Form.SetChoicesEnabled(true);
            if (Focus && IsWindow(Focus) && IsWindowEnabled(Focus) && GetActiveWindow() == Form.Handle())
                ::SetFocus(Focus);
        }
    };
    std::vector<TImmunizerNotice> notices;
    {
        const TLocked locked(*this);
        notices = command(RadioButton1->Checked(), RadioButton2->Checked(), ComboBox1->Text());
    }
    Tell(notices);
}

void Tupan::Button1Click(TObject*) {
    RunCommand(
        [this](bool all, bool one, const std::string& root) { return FImmunizer->Immunize(all, one, root); });
}

void Tupan::Button2Click(TObject*) {
    RunCommand(
        [this](bool all, bool one, const std::string& root) { return FImmunizer->Release(all, one, root); });
}
