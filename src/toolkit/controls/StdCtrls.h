// Standard controls that wrap the system's window classes: buttons, check boxes, radio
// buttons, edits, combo boxes and group boxes, and the windowless label.
#pragma once

#include "Controls.h"
#include "Strings.h"

#include <memory>

// Modal results a button hands to its form.
enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};
extern const TIdentMap ModalResultIdents;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
extern const TEnumType AlignmentType;
extern const TEnumType TextLayoutType;

class TButton : public TWinControl {
    TW_DECLARE_CLASS(TButton, TWinControl)
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    // Clicks the button: the form takes its modal result, then OnClick runs.
    void Click() override;
    // Whether Enter clicks this button: while it has the focus, or while it is the default
    // button and the focus is on a control that is not a button.
    bool Active() const { return FActive; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void UpdateActive(TWinControl* focused);

    bool FDefault = false;
    bool FActive = false;
    bool FCancel = false;
    int FModalResult = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumType CheckBoxStateType;

class TCheckBox : public TWinControl {
    TW_DECLARE_CLASS(TCheckBox, TWinControl)
    explicit TCheckBox(TComponent* owner);

    bool Checked();
    void SetChecked(bool value);
    // With AllowGrayed a click cycles through the third, grayed state too.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    TCheckBoxState State();
    void SetState(TCheckBoxState value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void DestroyWnd() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

class TEdit : public TWinControl {
    TW_DECLARE_CLASS(TEdit, TWinControl)
    explicit TEdit(TComponent* owner);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    bool FReadOnly = false;
};

// A caption painted on the parent. With AutoSize it takes the size of its text (keeping its
// width when it wraps words); the text is drawn in the font's colour.
class TLabel : public TGraphicControl {
    TW_DECLARE_CLASS(TLabel, TGraphicControl)
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    void Paint(HDC dc) override;

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    // Resizes the label to its text (AutoSize only).
    void AdjustBounds();

private:
    UINT DrawFlags() const;

    bool FTransparent = false;
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
};

// A radio button; checking one unchecks the radio buttons that share its parent. The arrow
// keys move the check among them.
class TRadioButton : public TWinControl {
    TW_DECLARE_CLASS(TRadioButton, TWinControl)
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    // Checking runs OnClick; TabStop follows the check, as only the checked button of a group
    // is a tab stop.
    void SetChecked(bool value);
    // taRightJustify puts the caption right of the button (the usual place), taLeftJustify
    // left of it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void TurnSiblingsOff();
    bool MoveCheck(bool forward);

    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
extern const TEnumType ComboBoxStyleType;

// A combo box: an edit with a drop-down list (csDropDown), a list only (csDropDownList) or
// an edit over a list that is always shown (csSimple).
class TCustomComboBox : public TWinControl {
    TW_DECLARE_CLASS(TCustomComboBox, TWinControl)
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    // The items; the box's list follows every change.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    // The selected item's index, -1 when none is (typed text selects none).
    int ItemIndex();
    void SetItemIndex(int value);
    // The edit's text; a drop-down list shows the selected item's text, and setting its text
    // selects the item with that text.
    std::string Text() { return TControl::Text(); }
    void SetText(const std::string& value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool value) { FItems->SetSorted(value); }
    bool DroppedDown();
    void SetDroppedDown(bool value);

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Change();
    virtual void Select();

private:
    void ItemsChanged(TObject* sender);
    void FillList();
    int ListHeight() const;
    void SizeDropDown();

    std::unique_ptr<TStringList> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FItemIndex = -1;
    bool FFilling = false;
};

class TComboBox : public TCustomComboBox {
    TW_DECLARE_CLASS(TComboBox, TCustomComboBox)
    using TCustomComboBox::TCustomComboBox;
};

// A frame with a caption around a group of controls.
class TCustomGroupBox : public TWinControl {
    TW_DECLARE_CLASS(TCustomGroupBox, TWinControl)
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(RECT& rect) override;
    void WndProc(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
    TW_DECLARE_CLASS(TGroupBox, TCustomGroupBox)
    using TCustomGroupBox::TCustomGroupBox;
};

// True when text has "&c" for the character c (any case): the accelerator of a caption.
bool IsAccel(WPARAM ch, const std::string& text);
