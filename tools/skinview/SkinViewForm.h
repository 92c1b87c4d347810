// The skin preview: one form holding every kind of control the engine skins, in each state a
// skin author needs to see, skinned by the engine itself through the window watcher, plus a
// small second window that shows the inactive frame. Skins switch live from the menu or by
// dropping a .skn file on the form.
#pragma once

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "ComCtrlsSpin.h"
#include "StdCtrls.h"
#include "StdCtrlsMemo.h"
#include "Tabs.h"
#include "WinSkinDataComponent.h"

#include <string>

#include <windows.h>

#include <shellapi.h>

// The controls a test or a screenshot looks at, by kind.
struct TSkinViewParts {
    TButton* Button = nullptr;
    TButton* DisabledButton = nullptr;
    TBitBtn* GlyphButton = nullptr;
    TSpeedButton* SpeedButton = nullptr;
    TButton* DropDownButton = nullptr;
    TCheckBox* Unchecked = nullptr;
    TCheckBox* Checked = nullptr;
    TCheckBox* Grayed = nullptr;
    TCheckBox* DisabledCheck = nullptr;
    TRadioButton* Radio = nullptr;
    TRadioButton* CheckedRadio = nullptr;
    TRadioButton* DisabledRadio = nullptr;
    TGroupBox* Group = nullptr;
    TPanel* Panel = nullptr;
    TEdit* Edit = nullptr;
    TComboBox* Combo = nullptr;
    TEdit* SpinEdit = nullptr;
    TUpDown* Spin = nullptr;
    TDateTimePicker* Date = nullptr;
    TListBox* ListBox = nullptr;
    TMemo* Memo = nullptr;
    TScrollBar* ScrollBar = nullptr;
    TScrollBar* VerticalScrollBar = nullptr;
    TListView* List = nullptr;
    TPageControl* TopTabs = nullptr;
    TPageControl* BottomTabs = nullptr;
    TTabSet* TabSet = nullptr;
    TStatusBar* Status = nullptr;
    TProgressBar* Progress = nullptr;
    TProgressBar* VerticalProgress = nullptr;
    TTrackBar* Track = nullptr;
    TTrackBar* VerticalTrack = nullptr;
    TMainMenu* Menu = nullptr;
    TPopupMenu* Popup = nullptr;
};

class TSkinViewForm : public TForm {
    TW_DECLARE_CLASS(TSkinViewForm, TForm)
    // Builds the form and its skin data component; no skin is loaded yet.
    explicit TSkinViewForm(TComponent* owner);

    TSkinData& Skin() const { return *FSkin; }
    const TSkinViewParts& Parts() const { return FParts; }
    // Loads a skin file and applies it to every window of the program. A file that cannot be
    // read or is no usable skin is reported once and the skin shown before stays.
    bool OpenSkin(const std::wstring& path);
    const std::wstring& SkinPath() const { return FSkinPath; }
    // The small window whose frame shows the inactive look.
    TForm* SecondWindow() const { return FSecond; }

protected:
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void BuildMenus();
    void BuildButtons();
    void BuildMarks();
    void BuildInputs();
    void BuildLists();
    void BuildScrolled();
    void BuildBars();
    void BuildSecondWindow();
    void UpdateCaption();
    void ChooseSkin(TObject* sender);
    void CloseView(TObject* sender);
    void DropFiles(HDROP drop);

    TSkinData* FSkin = nullptr;
    TSkinViewParts FParts;
    TForm* FSecond = nullptr;
    std::wstring FSkinPath;
};

// The class of the drop-down button, mapped to the engine's menu-button painter through the
// skin data's class map.
class TDropDownButton : public TButton {
    TW_DECLARE_CLASS(TDropDownButton, TButton)
    using TButton::TButton;
};
