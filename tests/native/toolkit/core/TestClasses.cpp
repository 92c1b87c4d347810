#include "TestClasses.h"

const TEnumType TestShapeType{"TTestShape", {"tsNone", "tsSquare", "tsRound"}};
const TEnumType TestOptionType{"TTestOption", {"toBold", "toItalic", "toWide", "toTall"}};
const TIdentMap TestColorIdents{"TColor", {{"clBlack", 0}, {"clWhite", 0xFFFFFF}, {"clBtnFace", -16777201}}};
std::vector<std::string> LoadLog;

TClass TTestItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestItem>("TTestItem")
                                       .Int("Width", &TTestItem::Width, &TTestItem::Width)
                                       .Str("Text", &TTestItem::Text, &TTestItem::Text)
                                       .Build();
    return &info;
}

TClass TTestWidget::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTestWidget>("TTestWidget")
            .Int("Size", &TTestWidget::Size, &TTestWidget::SetSize)
            .Int("Color", &TTestWidget::Color, &TTestWidget::Color, &TestColorIdents)
            .Enum("Shape", TestShapeType, &TTestWidget::Shape, &TTestWidget::Shape)
            .Bool("Visible", &TTestWidget::Visible, &TTestWidget::Visible)
            .Set("Options", TestOptionType, &TTestWidget::Options, &TTestWidget::Options)
            .Str("Caption", &TTestWidget::Caption, &TTestWidget::Caption)
            .WStr("Hint", &TTestWidget::Hint, &TTestWidget::Hint)
            .Obj<TTestWidget>("Buddy", &TTestWidget::Buddy, &TTestWidget::Buddy)
            .Obj<TStringList>("Lines", &TTestWidget::Lines)
            .Obj<TCollection>("Items", &TTestWidget::Items)
            .Event<TNotifyEvent>("OnClick", &TTestWidget::OnClick)
            .Event<TTextEvent>("OnText", &TTestWidget::OnText)
            .Binary("Data", &TTestWidget::ReadData, &TTestWidget::WriteData)
            .Build();
    return &info;
}

TTestWidget::TTestWidget(TComponent* owner)
    : TComponent(owner), FLines(new TStringList), FItems(new TCollection(TTestItem::StaticClass())) {}

TTestWidget::~TTestWidget() {
    delete FItems;
    delete FLines;
}

void TTestWidget::ReadData(TStream& s) {
    const uint32_t count = s.ReadUInt32LE();
    Data.resize(count);
    s.ReadBuffer(Data.data(), count);
}

void TTestWidget::WriteData(TStream& s) {
    s.WriteUInt32LE(static_cast<uint32_t>(Data.size()));
    s.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
}

void TTestWidget::Loaded() {
    TComponent::Loaded();
    ++LoadedCount;
    SizeAtLoaded = FSize;
    BuddyAtLoaded = Buddy != nullptr;
    LoadLog.push_back(Name());
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Buddy)
        Buddy = nullptr;
}

TClass TTestButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestButton>("TTestButton")
                                       .Int("Default", &TTestButton::Default, &TTestButton::Default)
                                       .Build();
    return &info;
}

TClass TTestForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm")
                                       .Method<TNotifyEvent>("Button1Click", &TTestForm::Button1Click)
                                       .Method<TTextEvent>("TextChanged", &TTestForm::TextChanged)
                                       .Field("Panel1", &TTestForm::Panel1)
                                       .Field("Button1", &TTestForm::Button1)
                                       .Build();
    return &info;
}

void TTestForm::Button1Click(TObject* sender) {
    Calls.push_back("click:" + dynamic_cast<TComponent*>(sender)->Name());
}

void TTestForm::TextChanged(TObject*, std::string& text) {
    Calls.push_back("text:" + text);
    text = "changed";
}

namespace {
const bool kRegistered = [] {
    RegisterClasses({TTestWidget::StaticClass()});
    RegisterClasses({TTestButton::StaticClass()});
    RegisterClasses({TTestForm::StaticClass()});
    return true;
}();
}
