#include "TestForms.h"

TClass TTestColumn::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestColumn>("TTestColumn")
                                       .Str("Caption", &TTestColumn::Caption, &TTestColumn::Caption)
                                       .Int("Width", &TTestColumn::Width, &TTestColumn::Width)
                                       .Build();
    return &info;
}

TClass TTestHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestHolder>("TTestHolder")
                                       .WStr("Title", &TTestHolder::Title, &TTestHolder::Title)
                                       .Binary("Blob", &TTestHolder::ReadBlob, &TTestHolder::WriteBlob)
                                       .Obj<TCollection>("Columns", &TTestHolder::Columns)
                                       .Obj<TStringList>("Lines", &TTestHolder::Lines)
                                       .Build();
    return &info;
}

TTestHolder::TTestHolder(TComponent* owner)
    : TComponent(owner), FColumns(new TCollection(TTestColumn::StaticClass(), this)),
      FLines(new TStringList) {}

TTestHolder::~TTestHolder() {
    delete FLines;
    delete FColumns;
}

void TTestHolder::ReadBlob(TStream& s) {
    Blob.resize(s.ReadUInt32LE());
    s.ReadBuffer(Blob.data(), static_cast<int64_t>(Blob.size()));
}

void TTestHolder::WriteBlob(TStream& s) {
    s.WriteUInt32LE(static_cast<uint32_t>(Blob.size()));
    s.WriteBuffer(Blob.data(), static_cast<int64_t>(Blob.size()));
}

void TTestHolder::Loaded() {
    TComponent::Loaded();
    ++LoadedCount;
    ColumnsAtLoaded = static_cast<size_t>(FColumns->Count());
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        FormCaptionSetAtLoaded = !form->Caption().empty();
}

TClass TTestMainForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestMainForm>("TTestMainForm")
                                       .Method<TNotifyEvent>("FormCreate", &TTestMainForm::FormCreate)
                                       .Method<TNotifyEvent>("OkButtonClick", &TTestMainForm::OkButtonClick)
                                       .Field("Panel1", &TTestMainForm::Panel1)
                                       .Field("OkButton", &TTestMainForm::OkButton)
                                       .Field("Edit1", &TTestMainForm::Edit1)
                                       .Field("Holder1", &TTestMainForm::Holder1)
                                       .Build();
    return &info;
}

void TTestMainForm::FormCreate(TObject*) {
    Log.push_back("create:" + std::string(Edit1 ? Edit1->Text() : "no edit"));
}

void TTestMainForm::OkButtonClick(TObject*) {
    Log.push_back("ok");
}

void TTestMainForm::Loaded() {
    TForm::Loaded();
    ++LoadedCount;
}

TClass TTestBadNameForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestBadNameForm>("TTestBadNameForm").Build();
    return &info;
}

TClass TTestBadTypeForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestBadTypeForm>("TTestBadTypeForm").Build();
    return &info;
}

namespace {
const bool kRegistered = (RegisterClasses({TTestHolder::StaticClass(), TTestMainForm::StaticClass()}), true);
}
