// Keyboard navigation in forms and modal dialogs, driven by posted key messages: Tab and
// Shift+Tab, arrow keys in radio groups and between buttons, Enter and Esc, accelerators, and
// Ctrl+Tab in page controls.
#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Keys held down while posted keys are handled (GetKeyState sees them).
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(FSaved);
        BYTE state[256];
        std::copy(std::begin(FSaved), std::end(FSaved), state);
        for (int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys() { SetKeyboardState(FSaved); }

private:
    BYTE FSaved[256];
};

// A key press as the keyboard sends it, to the window that has the focus.
void Press(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    Application->ProcessMessages();
}

bool HasFocus(TWinControl* control) {
    HWND focus = GetFocus();
    return focus && (focus == control->Handle() || IsChild(control->Handle(), focus));
}

struct ClickLog : TObject {
    std::vector<std::string> clicks;
    void Clicked(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
};

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(60, 60, 360, 300);
        form->SetCaption("keys");
        edit = Add<TEdit>(form.get(), "Edit1", 10, 10, 120, 21);
        combo = Add<TComboBox>(form.get(), "Combo1", 10, 40, 120, 21);
        group = Add<TGroupBox>(form.get(), "GroupBox1", 10, 70, 160, 120);
        radioA = Add<TRadioButton>(group, "RadioA", 10, 20, 100, 17);
        radioB = Add<TRadioButton>(group, "RadioB", 10, 40, 100, 17);
        radioC = Add<TRadioButton>(group, "RadioC", 10, 60, 100, 17);
        groupButton = Add<TButton>(group, "GroupButton", 10, 85, 75, 25);
        radioA->SetChecked(true);
        check = Add<TCheckBox>(form.get(), "CheckBox1", 180, 10, 100, 17);
        ok = Add<TButton>(form.get(), "OkButton", 180, 200, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel = Add<TButton>(form.get(), "CancelButton", 260, 200, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        apply = Add<TButton>(form.get(), "ApplyButton", 180, 230, 75, 25);
        apply->SetCaption("&Apply");
        for (TButton* b : {ok, cancel, apply, groupButton})
            b->OnClick = TNotifyEvent(&log, &ClickLog::Clicked);
    }
    void TearDown() override {
        KillTimer(nullptr, FSafety);
        form.reset();
    }

    template <class T>
    T* Add(TWinControl* parent, const char* name, int x, int y, int w, int h) {
        auto* c = new T(form.get());
        c->SetName(name);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    }
    void ShowAndFocus(TWinControl* control) {
        form->Show();
        Application->ProcessMessages();
        control->SetFocus();
        Application->ProcessMessages();
        ASSERT_TRUE(HasFocus(control));
    }
    // Shows the form modally after posting keys to a control; a stuck dialog ends after 5 s.
    int ShowModalWithKeys(TWinControl* focused, std::initializer_list<WPARAM> keys) {
        form->SetActiveControl(focused);
        HWND target = focused->Handle();
        if (auto* c = dynamic_cast<TComboBox*>(focused))
            target = GetWindow(c->Handle(), GW_CHILD); // the combo box's edit
        for (WPARAM key : keys) {
            PostMessageA(target, WM_KEYDOWN, key, 1);
            PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        }
        Stuck = form.get();
        FSafety = SetTimer(nullptr, 0, 5000, &EndStuckDialog);
        const int result = form->ShowModal();
        KillTimer(nullptr, FSafety);
        return result;
    }

    static void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD) { Stuck->SetModalResult(-1); }
    static inline TForm* Stuck = nullptr;
    UINT_PTR FSafety = 0;
    std::unique_ptr<TForm, TObjectDeleter> form;
    ClickLog log;
    TEdit* edit = nullptr;
    TComboBox* combo = nullptr;
    TGroupBox* group = nullptr;
    TRadioButton *radioA = nullptr, *radioB = nullptr, *radioC = nullptr;
    TButton* groupButton = nullptr;
    TCheckBox* check = nullptr;
    TButton *ok = nullptr, *cancel = nullptr, *apply = nullptr;
};

TEST_F(KeyboardTest, TabAndShiftTabFollowTheTabOrderThroughTheCheckedRadioButtonOnly) {
    ShowAndFocus(edit);
    const std::vector<TWinControl*> forward{combo, radioA, groupButton, check, ok, cancel, apply, edit};
    for (TWinControl* expected : forward) {
        Press(VK_TAB); // from the combo box, Tab comes from the edit inside it
        EXPECT_TRUE(HasFocus(expected)) << expected->Name();
        EXPECT_EQ(form->ActiveControl(), expected);
    }
    HeldKeys shift{VK_SHIFT};
    Press(VK_TAB);
    EXPECT_TRUE(HasFocus(apply));
    Press(VK_TAB);
    EXPECT_TRUE(HasFocus(cancel));
}

TEST_F(KeyboardTest, ArrowKeysKeepToTheRadioButtonsOfAGroupAndTabLeavesIt) {
    ShowAndFocus(radioC);
    Press(VK_DOWN); // wraps around the radio buttons, never onto the group's push button
    EXPECT_TRUE(HasFocus(radioA));
    EXPECT_TRUE(radioA->Checked());
    Press(VK_UP);
    EXPECT_TRUE(HasFocus(radioC));
    EXPECT_TRUE(radioC->Checked());
    EXPECT_FALSE(radioA->Checked() || radioB->Checked());
    Press(VK_TAB); // the group is left from its checked button
    EXPECT_TRUE(HasFocus(groupButton));
}

TEST_F(KeyboardTest, ArrowKeysMoveBetweenButtonsAndPassOverContainers) {
    ShowAndFocus(ok);
    Press(VK_RIGHT);
    EXPECT_TRUE(HasFocus(cancel));
    Press(VK_DOWN);
    EXPECT_TRUE(HasFocus(apply));
    Press(VK_RIGHT); // wraps to the first control beside them
    EXPECT_TRUE(HasFocus(edit));
    check->SetFocus();
    Press(VK_LEFT); // the group box is passed over
    EXPECT_TRUE(HasFocus(combo));
    Press(VK_LEFT); // the combo box keeps its arrows
    EXPECT_TRUE(HasFocus(combo));
    // Onto a radio button of the group, which is checked on the way.
    groupButton->SetFocus();
    Press(VK_LEFT);
    EXPECT_TRUE(HasFocus(radioC));
    EXPECT_TRUE(radioC->Checked());
    EXPECT_FALSE(radioA->Checked());
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(KeyboardTest, EnterClicksTheDefaultButtonFromOtherControlsAndEscTheCancelButton) {
    EXPECT_EQ(ShowModalWithKeys(edit, {VK_RETURN}), mrOk);
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"OkButton"}));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(ShowModalWithKeys(check, {VK_ESCAPE}), mrCancel);
    // From inside the combo box's own edit window as well.
    EXPECT_EQ(ShowModalWithKeys(combo, {VK_RETURN}), mrOk);
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"OkButton", "CancelButton", "OkButton"}));
}

TEST_F(KeyboardTest, EnterClicksTheFocusedButtonWhichWearsTheDefaultFrame) {
    ShowAndFocus(edit);
    auto isDefault = [](TButton* b) {
        return (GetWindowLongPtrA(b->Handle(), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    };
    EXPECT_TRUE(isDefault(ok));
    apply->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(isDefault(apply));
    EXPECT_FALSE(isDefault(ok));
    Press(VK_RETURN);
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"ApplyButton"}));
    edit->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(isDefault(ok));
    EXPECT_FALSE(isDefault(apply));
    // In a modal dialog: Enter on the cancel button cancels.
    form->Hide();
    EXPECT_EQ(ShowModalWithKeys(cancel, {VK_RETURN}), mrCancel);
}

TEST_F(KeyboardTest, TypedLettersStayInTheEditAndAltLettersAreAccelerators) {
    ShowAndFocus(edit);
    PostMessageA(edit->Handle(), WM_CHAR, 'a', 1);
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "a");
    EXPECT_TRUE(log.clicks.empty());
    PostMessageA(edit->Handle(), WM_SYSCHAR, 'a', 0x20000001);
    Application->ProcessMessages();
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"ApplyButton"}));
}

TEST_F(KeyboardTest, AFreedFocusedControlIsForgottenAndTabGoesOn) {
    auto* stray = new TEdit(nullptr); // owned by nobody: the form hears of it through its parent
    stray->SetParent(form.get());
    stray->SetBounds(180, 40, 100, 21);
    ShowAndFocus(stray);
    EXPECT_EQ(form->ActiveControl(), stray);
    TObject::Free(stray);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    edit->SetFocus();
    Application->ProcessMessages();
    Press(VK_TAB);
    EXPECT_TRUE(HasFocus(combo));
}

class PageKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(60, 60, 360, 260);
        outside = new TEdit(form.get());
        outside->SetParent(form.get());
        outside->SetBounds(10, 200, 100, 21);
        pages = new TPageControl(form.get());
        pages->SetParent(form.get());
        pages->SetBounds(10, 10, 330, 180);
        for (int i = 0; i < 3; ++i) {
            auto* sheet = new TTabSheet(form.get());
            sheet->SetPageControl(pages);
            sheet->SetCaption("Page " + std::to_string(i + 1));
            auto* e = new TEdit(form.get());
            e->SetParent(sheet);
            e->SetBounds(10, 10, 100, 21);
            edits.push_back(e);
        }
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm, TObjectDeleter> form;
    TPageControl* pages = nullptr;
    TEdit* outside = nullptr;
    std::vector<TEdit*> edits;
};

TEST_F(PageKeysTest, CtrlTabTurnsThePagesForwardAndCtrlShiftTabBack) {
    edits[0]->SetFocus();
    Application->ProcessMessages();
    {
        HeldKeys ctrl{VK_CONTROL};
        Press(VK_TAB);
        EXPECT_EQ(pages->ActivePageIndex(), 1);
        EXPECT_TRUE(HasFocus(edits[1])); // the focus follows onto the new page
        Press(VK_TAB);
        Press(VK_TAB); // wraps around
        EXPECT_EQ(pages->ActivePageIndex(), 0);
        EXPECT_TRUE(IsWindowVisible(edits[0]->Handle()));
        EXPECT_FALSE(IsWindowVisible(edits[2]->Handle()));
    }
    {
        HeldKeys ctrlShift{VK_CONTROL, VK_SHIFT};
        Press(VK_TAB);
        EXPECT_EQ(pages->ActivePageIndex(), 2);
        EXPECT_TRUE(HasFocus(edits[2]));
    }
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 2);
}

TEST_F(PageKeysTest, CtrlTabOutsideThePageControlLeavesThePagesAlone) {
    outside->SetFocus();
    Application->ProcessMessages();
    HeldKeys ctrl{VK_CONTROL};
    Press(VK_TAB);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_TRUE(HasFocus(outside));
}

} // namespace
