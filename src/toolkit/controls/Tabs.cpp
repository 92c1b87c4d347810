// TTabSet and its scroller.
#include "Tabs.h"

#include "ComCtrls.h"
#include "Messages.h"
#include "WinHandle.h"

#include <algorithm>
#include <commctrl.h>

namespace {
constexpr int TabPadding = 9;    // beside the text, inside a tab
constexpr int ScrollerRoom = 12; // more a tab needs while the scroller shows
constexpr int ScrollerWidth = 24;
} // namespace

// ---- TTabScroller -----------------------------------------------------------------------------

TClass TTabScroller::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTabScroller>("TTabScroller").Build();
    return &info;
}

TTabScroller::TTabScroller(TComponent* owner) : TWinControl(owner) {
    InitCommonControl(ICC_UPDOWN_CLASS);
    FWidth = ScrollerWidth;
    FHeight = 16;
}

void TTabScroller::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASSA);
    params.Style |= UDS_HORZ;
}

void TTabScroller::WndProc(TMessage& message) {
    // The position the arrows reached is the first shown tab.
    if (message.Msg == CN_HSCROLL && LOWORD(message.WParam) == SB_THUMBPOSITION) {
        if (auto* tabSet = dynamic_cast<TTabSet*>(Parent()))
            tabSet->SetFirstIndex(static_cast<short>(HIWORD(message.WParam)));
        return;
    }
    TWinControl::WndProc(message);
}

// ---- layout ---------------------------------------------------------------------------------

std::vector<TRect> TabSetLayout(const std::vector<int>& widths, int firstIndex, int left, int limit,
                                int height, bool scrollerShown) {
    std::vector<TRect> rects(widths.size());
    const int room = TabPadding + (scrollerShown ? ScrollerRoom : 0);
    int x = left;
    for (std::size_t i = static_cast<std::size_t>(std::max(firstIndex, 0)); i < widths.size(); ++i) {
        if (x + widths[i] + room > limit)
            continue;
        rects[i] = TRect{x, 0, x + widths[i] + TabPadding, height};
        x += widths[i] + TabPadding;
    }
    return rects;
}

// ---- TTabSet --------------------------------------------------------------------------------

TClass TTabSet::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTabSet>("TTabSet")
                                       .Obj<TStrings>("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
                                       .Int("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
                                       .Int("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex)
                                       .Int("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin)
                                       .Int("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin)
                                       .Event<TNotifyEvent>("OnChange", &TTabSet::OnChange)
                                       .Build();
    return &info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), FTabs(std::make_unique<TStringList>()) {
    // The scroller comes first among the owned components: skinners look for it there.
    FScroller = new TTabScroller(this);
    FScroller->SetVisible(false);
    FScroller->SetParent(this);
    FTabs->OnChange = TNotifyEvent(this, &TTabSet::TabsChanged);
    FWidth = 185;
    FHeight = 21;
}

TTabSet::~TTabSet() {
    FTabs->OnChange = TNotifyEvent();
}

void TTabSet::SetTabs(TStrings* value) {
    FTabs->Assign(value);
}

void TTabSet::SetTabIndex(int value) {
    value = std::clamp(value, -1, FTabs->Count() - 1);
    if (value == FTabIndex)
        return;
    FTabIndex = value;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TTabSet::SetFirstIndex(int value) {
    value = std::clamp(value, 0, std::max(FTabs->Count() - 1, 0));
    if (value == FFirstIndex)
        return;
    FFirstIndex = value;
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetStartMargin(int value) {
    FStartMargin = value;
    UpdateScroller();
    Invalidate();
}

void TTabSet::SetEndMargin(int value) {
    FEndMargin = value;
    UpdateScroller();
    Invalidate();
}

bool TTabSet::ScrollerShown() const {
    return FScroller->Visible();
}

void TTabSet::TabsChanged(TObject*) {
    if (FTabIndex >= FTabs->Count())
        FTabIndex = FTabs->Count() - 1;
    if (FFirstIndex >= std::max(FTabs->Count(), 1))
        FFirstIndex = 0;
    UpdateScroller();
    Invalidate();
}

std::vector<int> TTabSet::TabWidths() {
    std::vector<int> widths;
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    TSelectScope font(dc.Get(), Font()->Handle());
    for (int i = 0; i < FTabs->Count(); ++i) {
        const std::string text = FTabs->Get(i);
        SIZE size{};
        GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        widths.push_back(size.cx);
    }
    return widths;
}

std::vector<TRect> TTabSet::TabRects() {
    return TabSetLayout(TabWidths(), FFirstIndex, FStartMargin, FWidth - FEndMargin, FHeight,
                        ScrollerShown());
}

void TTabSet::UpdateScroller() {
    const std::vector<int> widths = TabWidths();
    const auto all = TabSetLayout(widths, FFirstIndex, FStartMargin, FWidth - FEndMargin, FHeight, false);
    const bool allFit = std::none_of(all.begin() + std::min<std::ptrdiff_t>(FFirstIndex, std::ssize(all)),
                                     all.end(), [](const TRect& r) { return IsRectEmpty(&r); });
    FScroller->SetBounds(FWidth - ScrollerWidth - 1, 1, ScrollerWidth, std::max(FHeight - 4, 8));
    FScroller->SetVisible(FFirstIndex > 0 || !allFit);
    if (FScroller->HandleAllocated()) {
        SendMessageA(FScroller->Handle(), UDM_SETRANGE32, 0, std::max(FTabs->Count() - 1, 0));
        SendMessageA(FScroller->Handle(), UDM_SETPOS32, 0, FFirstIndex);
    }
}

void TTabSet::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScroller();
}

void TTabSet::Resize() {
    UpdateScroller();
    TCustomControl::Resize();
}

void TTabSet::WndProc(TMessage& message) {
    if (message.Msg == CM_FONTCHANGED)
        UpdateScroller();
    TCustomControl::WndProc(message);
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        const POINT at{x, y};
        const std::vector<TRect> rects = TabRects();
        for (std::size_t i = 0; i < rects.size(); ++i)
            if (PtInRect(&rects[i], at))
                SetTabIndex(static_cast<int>(i));
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

// The native look: face colour, each tab a box open at the top with its text; the chosen
// tab in the window colour.
void TTabSet::Paint(HDC dc) {
    const RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    TSelectScope font(dc, Font()->Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const std::vector<TRect> rects = TabRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        TRect r = rects[i];
        if (IsRectEmpty(&r))
            continue;
        r.bottom -= 1;
        if (static_cast<int>(i) == FTabIndex)
            FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        const std::string text = FTabs->Get(static_cast<int>(i));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SetBkMode(dc, oldMode);
}

namespace {
const bool kRegistered = (RegisterClasses({TTabSet::StaticClass(), TTabScroller::StaticClass()}), true);
}
