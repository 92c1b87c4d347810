#include "wabout.h"

#include "Bitmap.h"
#include "Vendor.h"

#include <shellapi.h>

Tabout* about = nullptr;

TClass Tabout::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tabout>("Tabout")
                                       .Field("Image1", &Tabout::Image1)
                                       .Field("Label1", &Tabout::Label1)
                                       .Field("Label2", &Tabout::Label2)
                                       .Field("Label3", &Tabout::Label3)
                                       .Method<TNotifyEvent>("FormCreate", &Tabout::FormCreate)
                                       .Method<TMouseMoveEvent>("Label3MouseMove", &Tabout::Label3MouseMove)
                                       .Method<TNotifyEvent>("Label3MouseLeave", &Tabout::Label3MouseLeave)
                                       .Method<TNotifyEvent>("Label3Click", &Tabout::Label3Click)
                                       .Build();
    return &info;
}

void Tabout::FormCreate(TObject*) {
    // The picture is stored as a bitmap resource rather than inside the description.
    TBitmap picture;
    picture.LoadFromResourceName(GetModuleHandleA(nullptr), "ABOUTPICTURE");
    Image1->Picture()->Assign(&picture);
}

void Tabout::Label3MouseMove(TObject*, TShiftState, int, int) {
    Label3->Font()->SetColor(clRed);
}

void Tabout::Label3MouseLeave(TObject*) {
    Label3->Font()->SetColor(clBlue);
}

void Tabout::Label3Click(TObject*) {
    ShellExecuteA(Handle(), nullptr, kProductPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}
