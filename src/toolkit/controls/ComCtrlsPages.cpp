// TCustomTabControl, TPageControl and TTabSheet: the comctl32 tab control with one tab per
// page whose tab is visible; the active page fills the display area, the others are hidden.
#include "ComCtrls.h"

#include <algorithm>

const TEnumType TabStyleType{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
const TEnumType TabPositionType{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};

// ---- TCustomTabControl ---------------------------------------------------------------------

TClass TCustomTabControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomTabControl>("TCustomTabControl").Build();
    return &info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), FImages(*this, TNotifyEvent(this, &TCustomTabControl::ImageListChanged)) {
    InitCommonControl(ICC_TAB_CLASSES);
    FControlStyle = TControlStyle{csAcceptsControls, csDoubleClicks};
    FWidth = 289;
    FHeight = 193;
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

int TCustomTabControl::TabIndex() {
    if (HandleAllocated())
        FTabIndex = static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int value) {
    FTabIndex = value;
    if (HandleAllocated())
        SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (FTabPosition == value)
        return;
    FTabPosition = value;
    RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (FMultiLine == value)
        return;
    FMultiLine = value;
    RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
    if (FHotTrack == value)
        return;
    FHotTrack = value;
    RecreateWnd();
}

TRect TCustomTabControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated())
        SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLA);
    params.Style |= WS_CLIPCHILDREN;
    if (FStyle == tsButtons)
        params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FMultiLine || FTabPosition == tpLeft || FTabPosition == tpRight)
        params.Style |= TCS_MULTILINE; // vertical tabs only come in several rows
    if (FHotTrack)
        params.Style |= TCS_HOTTRACK;
    switch (FTabPosition) {
    case tpBottom:
        params.Style |= TCS_BOTTOM;
        break;
    case tpLeft:
        params.Style |= TCS_VERTICAL;
        break;
    case tpRight:
        params.Style |= TCS_VERTICAL | TCS_RIGHT;
        break;
    case tpTop:
        break;
    }
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    ImageListChanged(nullptr);
    UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
    if (!HandleAllocated())
        return;
    SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < TabCount(); ++i) {
        std::string caption = TabCaption(i);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = caption.data();
        item.iImage = TabImage(i);
        SendMessageA(FHandle, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
    Realign(); // more rows of tabs leave less room for the pages
}

void TCustomTabControl::ImageListChanged(TObject*) {
    if (HandleAllocated())
        SendMessageA(FHandle, TCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(Images() ? Images()->Handle() : nullptr));
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove)
        FImages.Removed(component);
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
            message.Result = CanChange() ? FALSE : TRUE;
            return;
        }
        if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
            TabIndex();
            Change();
            return;
        }
    }
    TWinControl::WndProc(message);
}

// ---- TTabSheet -----------------------------------------------------------------------------

TClass TTabSheet::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTabSheet>("TTabSheet")
            .Int("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
            .Obj<TPageControl>("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
            .Int("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
            .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
            .Build();
    return &info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    FVisible = false; // shown when it becomes the active page
    FWidth = 200;
    FHeight = 150;
}

TTabSheet::~TTabSheet() {
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    SetParent(value);
}

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pages = dynamic_cast<TPageControl*>(parent);
    TPageControl* old = FPageControl;
    if (old && old != pages)
        old->RemovePage(this);
    TWinControl::SetParent(parent);
    if (pages && pages != old)
        pages->InsertPage(this);
}

void TTabSheet::SetParentComponent(TComponent* value) {
    if (auto* pages = dynamic_cast<TPageControl*>(value))
        SetPageControl(pages);
    else
        TWinControl::SetParentComponent(value);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (FPageControl)
        FPageControl->MovePage(this, value);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible)
        return -1;
    int index = 0;
    for (const TTabSheet* page : FPageControl->FPages) {
        if (page == this)
            return index;
        if (page->FTabVisible)
            ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (FTabVisible == value)
        return;
    FTabVisible = value;
    if (FPageControl)
        FPageControl->PageChanged();
}

void TTabSheet::SetImageIndex(int value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    if (FPageControl)
        FPageControl->PageChanged();
}

void TTabSheet::WndProc(TMessage& message) {
    TWinControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED && FPageControl)
        FPageControl->PageChanged();
}

// ---- TPageControl --------------------------------------------------------------------------

TClass TPageControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPageControl>("TPageControl")
            .Obj<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
            .Bool("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack)
            .Obj<TCustomImageList>("Images", &TPageControl::Images, &TPageControl::SetImages)
            .Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine)
            .Enum("Style", TabStyleType, &TPageControl::Style, &TPageControl::SetStyle)
            .Enum("TabPosition", TabPositionType, &TPageControl::TabPosition, &TPageControl::SetTabPosition)
            .Event<TNotifyEvent>("OnChange", &TPageControl::OnChange)
            .Event<TTabChangingEvent>("OnChanging", &TPageControl::OnChanging)
            .Build();
    return &info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FPages[static_cast<size_t>(index)];
}

int TPageControl::TabCount() const {
    return static_cast<int>(
        std::count_if(FPages.begin(), FPages.end(), [](const TTabSheet* p) { return p->FTabVisible; }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    for (TTabSheet* page : FPages)
        if (page->FTabVisible && tabIndex-- == 0)
            return page;
    return nullptr;
}

std::string TPageControl::TabCaption(int index) const {
    TTabSheet* page = PageForTab(index);
    return page ? page->Caption() : std::string();
}

int TPageControl::TabImage(int index) const {
    const TTabSheet* page = PageForTab(index);
    return page ? page->FImageIndex : -1;
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    page->FPageControl = this;
    PageChanged();
    if (!FActivePage && page->FTabVisible)
        SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    if (page->FPageControl != this)
        return;
    if (page == FActivePage && !ComponentState().Contains(csDestroying)) {
        TTabSheet* next = FindNextPage(page, true);
        SetActivePage(next != page ? next : nullptr);
    }
    if (page == FActivePage)
        FActivePage = nullptr;
    std::erase(FPages, page);
    page->FPageControl = nullptr;
    if (!ComponentState().Contains(csDestroying))
        PageChanged();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    std::erase(FPages, page);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    PageChanged();
}

void TPageControl::PageChanged() {
    FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? FPages[static_cast<size_t>(value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this)
        return;
    if (page == FActivePage)
        return;
    TTabSheet* previous = FActivePage;
    FActivePage = page;
    if (page) {
        const TRect r = DisplayRect();
        if (HandleAllocated())
            page->SetBounds(r.left, r.top, RectWidth(r), RectHeight(r));
        page->SetVisible(true);
        page->BringToFront();
    }
    if (previous)
        previous->SetVisible(false);
    SetTabIndex(page ? page->TabIndex() : -1);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward) {
    const auto n = static_cast<int>(FPages.size());
    if (n == 0)
        return nullptr;
    int start = current ? current->PageIndex() : (forward ? n - 1 : 0);
    if (start < 0 || start >= n)
        start = forward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        TTabSheet* page = FPages[static_cast<size_t>(((forward ? start + step : start - step) % n + n) % n)];
        if (page->FTabVisible)
            return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
    TTabSheet* page = FindNextPage(FActivePage, forward);
    if (page && page != FActivePage && CanChange()) {
        SetActivePage(page);
        TCustomTabControl::Change();
    }
}

void TPageControl::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        HandleAllocated() && (Focused() || IsChild(FHandle, GetFocus()))) {
        const bool focusOnPage =
            FActivePage && FActivePage->HandleAllocated() && IsChild(FActivePage->Handle(), GetFocus());
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        // The focus leaves a page that is now hidden for the first control of the new one.
        if (focusOnPage) {
            TWinControl* first =
                FActivePage ? FActivePage->FindNextControl(nullptr, true, true, false) : nullptr;
            (first ? first : this)->SetFocus();
        }
        message.Result = 1;
        return;
    }
    TCustomTabControl::WndProc(message);
}

void TPageControl::Change() {
    SetActivePage(PageForTab(FTabIndex));
    TCustomTabControl::Change();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    if (!FActivePage)
        SetActivePage(FindNextPage(nullptr, true));
}

void TPageControl::AlignControls(RECT& rect) {
    if (HandleAllocated()) {
        const TRect r = DisplayRect();
        for (TTabSheet* page : FPages)
            page->SetBounds(r.left, r.top, RectWidth(r), RectHeight(r));
        rect = r;
    }
    TCustomTabControl::AlignControls(rect);
}

namespace {
const bool kRegistered = (RegisterClasses({TPageControl::StaticClass(), TTabSheet::StaticClass()}), true);
}
