// Form classes whose descriptions are compiled into the test program.
#pragma once

#include "Collection.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <string>
#include <vector>

class TTestColumn : public TCollectionItem {
    TW_DECLARE_CLASS(TTestColumn, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    std::string Caption;
    int Width = 0;
};

// A non-visual component with a wide string, binary data, a collection and a string list.
class TTestHolder : public TComponent {
    TW_DECLARE_CLASS(TTestHolder, TComponent)
    explicit TTestHolder(TComponent* owner);
    ~TTestHolder() override;
    std::wstring Title;
    std::vector<uint8_t> Blob;
    TCollection* Columns() const { return FColumns; }
    TStringList* Lines() const { return FLines; }
    void ReadBlob(TStream& s);
    void WriteBlob(TStream& s);
    // What the component saw when it was told that loading had finished.
    int LoadedCount = 0;
    size_t ColumnsAtLoaded = 0;
    bool FormCaptionSetAtLoaded = false;
    void Loaded() override;

private:
    TCollection* FColumns;
    TStringList* FLines;
};

class TTestMainForm : public TForm {
    TW_DECLARE_CLASS(TTestMainForm, TForm)
    using TForm::TForm;
    TPanel* Panel1 = nullptr;
    TButton* OkButton = nullptr;
    TEdit* Edit1 = nullptr;
    TTestHolder* Holder1 = nullptr;
    std::vector<std::string> Log;
    void FormCreate(TObject* sender);
    void OkButtonClick(TObject* sender);
    int LoadedCount = 0;
    void Loaded() override;
};

class TTestBadNameForm : public TForm {
    TW_DECLARE_CLASS(TTestBadNameForm, TForm)
    using TForm::TForm;
};

class TTestBadTypeForm : public TForm {
    TW_DECLARE_CLASS(TTestBadTypeForm, TForm)
    using TForm::TForm;
};
