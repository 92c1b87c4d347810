// Standard controls that wrap the system's window classes: buttons, check boxes, edits,
// and the windowless label.
#pragma once

#include "Controls.h"

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

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = mrNone;
};

class TCheckBox : public TWinControl {
    TW_DECLARE_CLASS(TCheckBox, TWinControl)
    explicit TCheckBox(TComponent* owner);

    bool Checked();
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void DestroyWnd() override;

private:
    bool FChecked = false;
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

class TLabel : public TGraphicControl {
    TW_DECLARE_CLASS(TLabel, TGraphicControl)
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    void Paint(HDC dc) override;

private:
    bool FTransparent = false;
};

// True when text has "&c" for the character c (any case): the accelerator of a caption.
bool IsAccel(WPARAM ch, const std::string& text);
