// Scrolling forms and scroll boxes: scroll bars only while the content does not fit, and
// scrolling moves the controls inside.
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

bool HasStyle(HWND wnd, LONG_PTR bits) {
    return (GetWindowLongPtrA(wnd, GWL_STYLE) & bits) == bits;
}

// Where a control's window is, in the client coordinates of its parent window.
POINT WindowPlace(TWinControl* control) {
    RECT r{};
    GetWindowRect(control->Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return POINT{r.left, r.top};
}

std::string WindowClassName(HWND wnd) {
    char name[128] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

void Scroll(TWinControl* control, UINT message, WORD request) {
    SendMessageA(control->Handle(), message, MAKEWPARAM(request, 0), 0);
}

class ScrollingTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(40, 40, 300, 200);
        form->SetBorderStyle(bsSingle);
        form->SetClientWidth(260);
        form->SetClientHeight(160);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(10, 10, 100, 21);
        label = new TLabel(form.get());
        label->SetParent(form.get());
        label->SetBounds(10, 40, 60, 13);
    }
    void ShowForm() {
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm, TObjectDeleter> form;
    TEdit* edit = nullptr;
    TLabel* label = nullptr;
};

TEST_F(ScrollingTest, ContentThatFitsShowsNoScrollBarAndKeepsTheWholeClientArea) {
    // Reaching exactly to the edges still fits.
    auto* corner = new TButton(form.get());
    corner->SetParent(form.get());
    corner->SetBounds(180, 135, 80, 25);
    ShowForm();
    EXPECT_FALSE(HasStyle(form->Handle(), WS_HSCROLL));
    EXPECT_FALSE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_EQ(form->ClientWidth(), 260);
    EXPECT_EQ(form->ClientHeight(), 160);
    EXPECT_FALSE(form->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(form->VertScrollBar()->IsScrollBarVisible());
    // Scroll requests change nothing while there is nothing to scroll.
    Scroll(form.get(), WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(edit->Top(), 10);
}

TEST_F(ScrollingTest, ContentBelowTheClientAreaGetsAVerticalBarAndScrollingMovesTheControls) {
    auto* distant = new TButton(form.get());
    distant->SetParent(form.get());
    distant->SetBounds(10, 300, 80, 25);
    ShowForm();
    EXPECT_TRUE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_FALSE(HasStyle(form->Handle(), WS_HSCROLL));
    EXPECT_EQ(form->ClientWidth(), 260 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(form->VertScrollBar()->Range(), 325);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(form->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, 324);
    EXPECT_EQ(si.nPage, 160u);

    Scroll(form.get(), WM_VSCROLL, SB_LINEDOWN);
    const int step = form->VertScrollBar()->Increment();
    EXPECT_EQ(form->VertScrollBar()->Position(), step);
    EXPECT_EQ(edit->Top(), 10 - step);
    EXPECT_EQ(WindowPlace(edit).y, 10 - step); // the window moved, not just the number
    EXPECT_EQ(label->Top(), 40 - step);        // windowless controls move too
    ASSERT_TRUE(GetScrollInfo(form->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nPos, step);

    Scroll(form.get(), WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(form->VertScrollBar()->Position(), 325 - 160);
    EXPECT_EQ(distant->Top() + distant->Height(), form->ClientHeight()); // the last control in view
    Scroll(form.get(), WM_VSCROLL, SB_PAGEDOWN);                         // stops at the end
    EXPECT_EQ(form->VertScrollBar()->Position(), 325 - 160);
    Scroll(form.get(), WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(form->VertScrollBar()->Position(), 5);
    Scroll(form.get(), WM_VSCROLL, SB_TOP);
    EXPECT_EQ(edit->Top(), 10);
    EXPECT_EQ(distant->Top(), 300);
}

TEST_F(ScrollingTest, OneBarCanMakeTheOtherNecessary) {
    // As tall as the client area, wider than it: the horizontal bar takes height away.
    auto* wide = new TPanel(form.get());
    wide->SetParent(form.get());
    wide->SetBounds(0, 0, 400, 160);
    ShowForm();
    EXPECT_TRUE(HasStyle(form->Handle(), WS_HSCROLL));
    EXPECT_TRUE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_EQ(form->HorzScrollBar()->Range(), 400);
    Scroll(form.get(), WM_HSCROLL, SB_BOTTOM);
    EXPECT_EQ(wide->Left() + wide->Width(), form->ClientWidth());
    Scroll(form.get(), WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(wide->Top() + wide->Height(), form->ClientHeight());
}

TEST_F(ScrollingTest, BarsGoAwayWhenTheContentFitsAgainAndTheContentReturnsToTheOrigin) {
    auto* distant = new TButton(form.get());
    distant->SetParent(form.get());
    distant->SetBounds(400, 300, 80, 25);
    ShowForm();
    Scroll(form.get(), WM_HSCROLL, SB_BOTTOM);
    Scroll(form.get(), WM_VSCROLL, SB_BOTTOM);
    ASSERT_LT(edit->Left(), 0);
    TObject::Free(distant);
    Application->ProcessMessages();
    EXPECT_FALSE(HasStyle(form->Handle(), WS_HSCROLL));
    EXPECT_FALSE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_EQ(form->ClientWidth(), 260);
    EXPECT_EQ(edit->Left(), 10);
    EXPECT_EQ(edit->Top(), 10);
    EXPECT_EQ(WindowPlace(edit).x, 10);
}

TEST_F(ScrollingTest, AlignedControlsStayInTheVisibleAreaBesideTheBar) {
    auto* top = new TPanel(form.get());
    top->SetParent(form.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* distant = new TButton(form.get());
    distant->SetParent(form.get());
    distant->SetBounds(10, 300, 80, 25);
    ShowForm();
    ASSERT_TRUE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_EQ(top->Width(), form->ClientWidth()); // not under the bar
    Scroll(form.get(), WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(top->Top(), 0);
    EXPECT_LT(edit->Top(), 10);
}

TEST_F(ScrollingTest, WithoutAutoScrollNothingScrolls) {
    form->SetAutoScroll(false);
    auto* distant = new TButton(form.get());
    distant->SetParent(form.get());
    distant->SetBounds(400, 300, 80, 25);
    ShowForm();
    EXPECT_FALSE(HasStyle(form->Handle(), WS_HSCROLL));
    EXPECT_FALSE(HasStyle(form->Handle(), WS_VSCROLL));
    Scroll(form.get(), WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(distant->Top(), 300);
    // Turned on at run time, the bars come.
    form->SetAutoScroll(true);
    EXPECT_TRUE(HasStyle(form->Handle(), WS_VSCROLL));
    EXPECT_TRUE(HasStyle(form->Handle(), WS_HSCROLL));
}

TEST_F(ScrollingTest, AScrollBoxScrollsItsOwnContentAndTheWheelScrollsToo) {
    auto* box = new TScrollBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(120, 10, 120, 100);
    auto* inner = new TEdit(form.get());
    inner->SetParent(box);
    inner->SetBounds(5, 200, 80, 21);
    ShowForm();
    EXPECT_EQ(WindowClassName(box->Handle()), "TScrollBox");
    EXPECT_TRUE(GetWindowLongPtrA(box->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(HasStyle(box->Handle(), WS_VSCROLL));
    EXPECT_FALSE(HasStyle(form->Handle(), WS_VSCROLL)); // the box itself fits the form
    SendMessageA(box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(box->VertScrollBar()->Position(), 3 * box->VertScrollBar()->Increment());
    EXPECT_EQ(inner->Top(), 200 - box->VertScrollBar()->Position());
    EXPECT_EQ(edit->Top(), 10); // the form's own controls stay
}

TEST_F(ScrollingTest, FocusingAControlOutOfViewScrollsItIn) {
    auto* distant = new TEdit(form.get());
    distant->SetParent(form.get());
    distant->SetBounds(10, 300, 80, 21);
    ShowForm();
    distant->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(distant->Focused());
    EXPECT_GE(distant->Top(), 0);
    EXPECT_LE(distant->Top() + distant->Height(), form->ClientHeight());
    edit->SetFocus(); // scrolled back just distant enough
    Application->ProcessMessages();
    EXPECT_EQ(edit->Top(), 0);
}

} // namespace
