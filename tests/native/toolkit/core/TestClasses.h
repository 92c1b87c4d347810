// Small component classes that exercise every kind of published property.
#pragma once

#include "Classes.h"

#include <vector>

enum TTestShape { tsNone, tsSquare, tsRound };
enum TTestOption { toBold, toItalic, toWide, toTall };
using TTestOptions = TSet<TTestOption>;
extern const TEnumType TestShapeType;
extern const TEnumType TestOptionType;
extern const TIdentMap TestColorIdents;

using TTextEvent = TClosure<void(TObject* Sender, std::string& Text)>;

class TTestItem : public TCollectionItem {
    TW_DECLARE_CLASS(TTestItem, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    int Width = 0;
    std::string Text;
};

// Records the order in which components of a description are loaded.
extern std::vector<std::string> LoadLog;

class TTestWidget : public TComponent {
    TW_DECLARE_CLASS(TTestWidget, TComponent)
    explicit TTestWidget(TComponent* owner);
    ~TTestWidget() override;

    int Size() const { return FSize; }
    void SetSize(int value) { FSize = value; }
    int32_t Color = 0;
    TTestShape Shape = tsNone;
    bool Visible = true;
    TTestOptions Options;
    std::string Caption;
    std::wstring Hint;
    TTestWidget* Buddy = nullptr;
    TStringList* Lines() const { return FLines; }
    TCollection* Items() const { return FItems; }
    TNotifyEvent OnClick;
    TTextEvent OnText;
    std::vector<uint8_t> Data;
    void ReadData(TStream& s);
    void WriteData(TStream& s);

    TTestWidget* Parent = nullptr;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return Parent; }
    void SetParentComponent(TComponent* value) override { Parent = dynamic_cast<TTestWidget*>(value); }

    // Snapshot taken in Loaded: what the component looked like when it was told.
    int LoadedCount = 0;
    int SizeAtLoaded = -1;
    bool BuddyAtLoaded = false;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int FSize = 0;
    TStringList* FLines;
    TCollection* FItems;
};

// A descendant that republishes nothing new but adds one property of its own.
class TTestButton : public TTestWidget {
    TW_DECLARE_CLASS(TTestButton, TTestWidget)
    using TTestWidget::TTestWidget;
    int Default = 0;
};

// The root of test descriptions, with published handlers and fields.
class TTestForm : public TTestWidget {
    TW_DECLARE_CLASS(TTestForm, TTestWidget)
    using TTestWidget::TTestWidget;
    TTestWidget* Panel1 = nullptr;
    TTestButton* Button1 = nullptr;
    std::vector<std::string> Calls;
    void Button1Click(TObject* sender);
    void TextChanged(TObject* sender, std::string& text);
};
