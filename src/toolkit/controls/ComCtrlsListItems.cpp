// The data of a list view: columns, items and their sub-items. Items keep their texts and
// image; the window asks for the texts when it draws (LPSTR_TEXTCALLBACK) and keeps the check
// marks and the selection, which the items copy while the window is being re-created.
#include "ComCtrls.h"

#include <algorithm>

// ---- TListColumn ---------------------------------------------------------------------------

TClass TListColumn::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TListColumn>("TListColumn")
            .Enum("Alignment", AlignmentType, &TListColumn::Alignment, &TListColumn::SetAlignment)
            .Str("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
            .Int("Width", &TListColumn::Width, &TListColumn::SetWidth)
            .Build();
    return &info;
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

TListColumn::~TListColumn() = default;

std::string TListColumn::DisplayName() const {
    return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

void TListColumn::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    Changed(false);
}

int TListColumn::Width() {
    auto* columns = static_cast<TListColumns*>(Collection());
    if (columns && columns->ListView()->HandleAllocated()) {
        const auto width = static_cast<int>(
            SendMessageA(columns->ListView()->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
        if (width > 0)
            FWidth = width;
    }
    return FWidth;
}

void TListColumn::SetWidth(int value) {
    if (FWidth == value)
        return;
    FWidth = value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Changed(false);
}

// ---- TListColumns --------------------------------------------------------------------------

TClass TListColumns::StaticClass() {
    static const TClassInfo info = TClassBuilder<TListColumns>("TListColumns").Build();
    return &info;
}

TListColumns::TListColumns(TCustomListView* listView)
    : TCollection(TListColumn::StaticClass(), listView), FListView(listView) {}

void TListColumns::Update(TCollectionItem* item) {
    if (item)
        FListView->UpdateColumn(item->Index());
    else
        FListView->UpdateColumns();
}

// ---- TListItem -----------------------------------------------------------------------------

TClass TListItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TListItem>("TListItem").Build();
    return &info;
}

TListItem::TListItem(TListItems* owner) : FOwner(owner), FSubItems(std::make_unique<TStringList>()) {
    // Changed sub-items are drawn again.
    FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem() = default;

void TListItem::SubItemsChanged(TObject*) {
    Changed();
}

TCustomListView* TListItem::ListView() const {
    return FOwner->Owner();
}

int TListItem::Index() const {
    return FOwner->IndexOf(this);
}

void TListItem::Changed() {
    TCustomListView* view = ListView();
    if (!view->HandleAllocated())
        return;
    const int index = Index();
    if (index >= 0)
        SendMessageA(view->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

void TListItem::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    Changed();
    if (ListView()->OnChange)
        ListView()->OnChange(ListView(), this, ctText);
}

void TListItem::SetSubItems(TStrings* value) {
    if (value)
        FSubItems->Assign(value);
}

void TListItem::SetImageIndex(int value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    TCustomListView* view = ListView();
    if (view->HandleAllocated()) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = Index();
        item.iImage = value;
        SendMessageA(view->Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (view->OnChange)
        view->OnChange(view, this, ctImage);
}

bool TListItem::State(UINT mask) {
    TCustomListView* view = ListView();
    if (!view->HandleAllocated())
        return false;
    return (SendMessageA(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), mask) & mask) != 0;
}

void TListItem::SetState(UINT mask, bool on) {
    TCustomListView* view = ListView();
    if (!view->HandleAllocated())
        return;
    LVITEMA item{};
    item.stateMask = mask;
    item.state = on ? mask : 0;
    SendMessageA(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()),
                 reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Checked() {
    TCustomListView* view = ListView();
    if (view->HandleAllocated() && view->Checkboxes()) {
        const auto state =
            SendMessageA(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_STATEIMAGEMASK);
        FChecked = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2; // state image 2 is the check mark
    }
    return FChecked;
}

void TListItem::SetChecked(bool value) {
    FChecked = value;
    TCustomListView* view = ListView();
    if (!view->HandleAllocated() || !view->Checkboxes())
        return;
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(value ? 2 : 1);
    SendMessageA(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()),
                 reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() {
    if (ListView()->HandleAllocated())
        FSelected = State(LVIS_SELECTED);
    return FSelected;
}

void TListItem::SetSelected(bool value) {
    FSelected = value;
    SetState(LVIS_SELECTED, value);
}

bool TListItem::Focused() {
    if (ListView()->HandleAllocated())
        FFocused = State(LVIS_FOCUSED);
    return FFocused;
}

void TListItem::SetFocused(bool value) {
    FFocused = value;
    SetState(LVIS_FOCUSED, value);
}

void TListItem::Delete() {
    FOwner->Delete(Index());
}

void TListItem::MakeVisible() {
    TCustomListView* view = ListView();
    if (view->HandleAllocated())
        SendMessageA(view->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), FALSE);
}

// ---- TListItems ----------------------------------------------------------------------------

TClass TListItems::StaticClass() {
    static const TClassInfo info = TClassBuilder<TListItems>("TListItems").Build();
    return &info;
}

TListItems::TListItems(TCustomListView* owner) : FOwner(owner) {}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FItems[static_cast<size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(this));
    InsertIntoWindow(index);
    return FItems[static_cast<size_t>(index)].get();
}

void TListItems::InsertIntoWindow(int index) {
    if (!FOwner->HandleAllocated())
        return;
    TListItem* item = FItems[static_cast<size_t>(index)].get();
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = index;
    row.pszText = LPSTR_TEXTCALLBACKA;
    row.iImage = item->FImageIndex;
    row.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageA(FOwner->Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    if (FOwner->Checkboxes())
        item->SetChecked(item->FChecked);
    if (item->FSelected)
        item->SetState(LVIS_SELECTED, true);
    if (item->FFocused)
        item->SetState(LVIS_FOCUSED, true);
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    if (FOwner->OnDeletion)
        FOwner->OnDeletion(FOwner, item);
    if (FOwner->HandleAllocated())
        SendMessageA(FOwner->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    FItems.erase(FItems.begin() + index);
}

void TListItems::Clear() {
    if (FOwner->OnDeletion)
        for (auto& item : FItems)
            FOwner->OnDeletion(FOwner, item.get());
    if (FOwner->HandleAllocated())
        SendMessageA(FOwner->Handle(), LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
}

void TListItems::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessageA(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0)
        return;
    if (FOwner->HandleAllocated()) {
        SendMessageA(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FOwner->Handle(), nullptr, TRUE);
    }
}
