// The form with every control, and its pop-up menu, must give back every GDI and USER
// object they took.
#include "HandleCounter.h"
#include "TestSupport.h"

namespace {

// Every form gets all its windows, menus, image lists and fonts; every twenty-fifth is also
// shown and painted (mapping a top-level window under Wine costs about a tenth of a second).
void CreateShowAndFree(bool show) {
    std::unique_ptr<TAllControlsForm, TObjectDeleter> form(CreateAllControlsForm());
    form->HandleNeeded();
    if (show) {
        form->Show();
        form->Update();
    }
    Pump();
}

TEST(HandleLeaks, TheFormWithEveryControlCreatedAndFreedAThousandTimesLeavesTheCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    CreateShowAndFree(true); // first use: window classes, the control atom, the menu font
    const THandleCounts before = THandleCounter::Current();
    {
        std::unique_ptr<TAllControlsForm, TObjectDeleter> form(CreateAllControlsForm());
        form->Show();
        Pump();
        // The counter sees the form while it lives: the form and its 14 windowed controls,
        // the menu bar with its two pop-ups.
        const THandleCounts alive = THandleCounter::Current();
        EXPECT_EQ(alive.Windows - before.Windows, 15) << alive.ToString();
        EXPECT_EQ(alive.Menus - before.Menus, 3) << alive.ToString();
        EXPECT_GT(alive.Fonts, before.Fonts);
    }
    for (int i = 0; i < 1000; ++i)
        CreateShowAndFree(i % 25 == 0);
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(after, before) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
}

TEST(HandleLeaks, PopupMenusShownAHundredTimesLeaveTheCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    std::unique_ptr<TAllControlsForm, TObjectDeleter> form(CreateAllControlsForm());
    form->Show();
    Pump();
    auto popupOnce = [&] {
        MenuKeyDriver keys({VK_DOWN, VK_RETURN}, 10);
        const POINT at = form->ClientToScreen(POINT{100, 100});
        form->PopupMenu1->Popup(at.x, at.y);
        return keys.SawMenu();
    };
    ASSERT_TRUE(popupOnce());
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(popupOnce()) << i;
    Pump();
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(after, before) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
    EXPECT_EQ(std::count(form->Log.begin(), form->Log.end(), "menu PopupFirst"), 101);
}

} // namespace
