// TTabControl: the comctl32 tab control used on its own, its tabs a list of captions.
#include "ComCtrls.h"

#include <algorithm>

TClass TTabControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTabControl>("TTabControl")
            .Bool("HotTrack", &TTabControl::HotTrack, &TTabControl::SetHotTrack)
            .Obj<TCustomImageList>("Images", &TTabControl::Images, &TTabControl::SetImages)
            .Bool("MultiLine", &TTabControl::MultiLine, &TTabControl::SetMultiLine)
            .Enum("Style", TabStyleType, &TTabControl::Style, &TTabControl::SetStyle)
            .Enum("TabPosition", TabPositionType, &TTabControl::TabPosition, &TTabControl::SetTabPosition)
            .Obj<TStrings>("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
            .Int("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
            .Event<TNotifyEvent>("OnChange", &TTabControl::OnChange)
            .Event<TTabChangingEvent>("OnChanging", &TTabControl::OnChanging)
            .Build();
    return &info;
}

TTabControl::TTabControl(TComponent* owner)
    : TCustomTabControl(owner), FTabs(std::make_unique<TStringList>()) {
    FTabs->OnChange = TNotifyEvent(this, &TTabControl::TabsChanged);
}

TTabControl::~TTabControl() {
    FTabs->OnChange = TNotifyEvent();
}

void TTabControl::SetTabs(TStrings* value) {
    FTabs->Assign(value);
}

int TTabControl::TabCount() const {
    return FTabs->Count();
}

std::string TTabControl::TabCaption(int index) const {
    return FTabs->Get(index);
}

// The chosen tab stays chosen while it exists; the first tab is chosen once there is one.
void TTabControl::TabsChanged(TObject*) {
    const int count = FTabs->Count();
    TabIndex();
    if (FTabIndex >= count || (FTabIndex < 0 && count > 0))
        FTabIndex = count > 0 ? std::min(std::max(FTabIndex, 0), count - 1) : -1;
    UpdateTabs();
}

void TTabControl::AlignControls(RECT& rect) {
    if (HandleAllocated())
        rect = DisplayRect();
    TCustomTabControl::AlignControls(rect);
}

namespace {
const bool kRegistered = (RegisterClasses({TTabControl::StaticClass()}), true);
}
