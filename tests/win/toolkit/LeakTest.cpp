// Creating and freeing forms must give back every GDI and USER object they took.
#include "ExtCtrls.h"
#include "Forms.h"
#include "HandleCounter.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

class TTwentyForm : public TForm {
    TW_DECLARE_CLASS(TTwentyForm, TForm)
    using TForm::TForm;
};

TClass TTwentyForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTwentyForm>("TTwentyForm").Build();
    return &info;
}

// The classes the description names, linked in and registered.
const TClass kUsed[] = {TPanel::StaticClass(), TButton::StaticClass(), TEdit::StaticClass(),
                        TCheckBox::StaticClass(), TLabel::StaticClass()};

// Every form gets all its windows; every tenth is also shown and painted (mapping a
// top-level window under Wine costs about a tenth of a second).
void CreateShowAndFree(bool show) {
    TTwentyForm* form = CreateForm<TTwentyForm>(nullptr);
    form->HandleNeeded();
    if (show) {
        form->Show();
        form->Update();
    }
    Application->ProcessMessages();
    TObject::Free(form);
}

TEST(HandleLeaks, AFormWithTwentyControlsCreatedAndFreedAThousandTimesLeavesTheCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    CreateShowAndFree(true); // first use: window classes, the control atom, stock objects
    const THandleCounts before = THandleCounter::Current();

    {
        std::unique_ptr<TTwentyForm, TObjectDeleter> form(CreateForm<TTwentyForm>(nullptr));
        int controls = 0;
        for (int i = 0; i < form->ComponentCount(); ++i)
            controls += dynamic_cast<TControl*>(form->Components(i)) ? 1 : 0;
        ASSERT_EQ(controls, 20);
        form->Show();
        Application->ProcessMessages();
        // The counter sees the form while it lives: 17 windowed controls and the form.
        const THandleCounts alive = THandleCounter::Current();
        EXPECT_EQ(alive.Windows - before.Windows, 18) << alive.ToString();
        EXPECT_EQ(alive.Props - before.Props, 18) << alive.ToString();
        EXPECT_GT(alive.Brushes, before.Brushes);
    }

    for (int i = 0; i < 1000; ++i)
        CreateShowAndFree(i % 10 == 0);
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(after, before) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
    EXPECT_EQ(Screen->FormCount(), 0);
}

} // namespace
