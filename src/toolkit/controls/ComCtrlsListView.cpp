// TCustomListView: the comctl32 list view over the columns and items of ComCtrlsListItems.
#include "ComCtrls.h"

#include <algorithm>
#include <cstring>

const TEnumType ViewStyleType{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};

namespace {

DWORD ViewStyleBits(TViewStyle style) {
    switch (style) {
    case vsSmallIcon:
        return LVS_SMALLICON;
    case vsList:
        return LVS_LIST;
    case vsReport:
        return LVS_REPORT;
    case vsIcon:
        break;
    }
    return LVS_ICON;
}

int ColumnFormat(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return LVCFMT_RIGHT;
    case taCenter:
        return LVCFMT_CENTER;
    case taLeftJustify:
        break;
    }
    return LVCFMT_LEFT;
}

} // namespace

TClass TCustomListView::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomListView>("TCustomListView").Build();
    return &info;
}

TClass TListView::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TListView>("TListView")
            .Bool("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes)
            .Obj<TListColumns>("Columns", &TListView::Columns, &TListView::SetColumns)
            .Bool("GridLines", &TListView::GridLines, &TListView::SetGridLines)
            .Bool("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection)
            .Obj<TCustomImageList>("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages)
            .Bool("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect)
            .Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly)
            .Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
            .Bool("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
            .Obj<TCustomImageList>("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
            .Obj<TCustomImageList>("StateImages", &TListView::StateImages, &TListView::SetStateImages)
            .Enum("ViewStyle", ViewStyleType, &TListView::ViewStyle, &TListView::SetViewStyle)
            .Event<TLVChangeEvent>("OnChange", &TListView::OnChange)
            .Event<TLVDeletedEvent>("OnDeletion", &TListView::OnDeletion)
            .Event<TLVSelectItemEvent>("OnSelectItem", &TListView::OnSelectItem)
            .Build();
    return &info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)),
      FSmallImages(*this, TNotifyEvent(this, &TCustomListView::ImageListChanged)),
      FLargeImages(*this, TNotifyEvent(this, &TCustomListView::ImageListChanged)),
      FStateImages(*this, TNotifyEvent(this, &TCustomListView::ImageListChanged)) {
    InitCommonControl(ICC_LISTVIEW_CLASSES);
    // Clicks come from the list view's own notifications: its mouse loop keeps the button-up.
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    FWidth = 250;
    FHeight = 150;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

TCustomListView::~TCustomListView() = default;

void TCustomListView::SetColumns(TListColumns* value) {
    FColumns->Assign(value);
}

void TCustomListView::SetStyleBit(DWORD bit, bool on) {
    if (!HandleAllocated())
        return;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(FHandle, GWL_STYLE));
    const DWORD wanted = on ? (style | bit) : (style & ~bit);
    if (wanted == style)
        return;
    SetWindowLongPtrA(FHandle, GWL_STYLE, static_cast<LONG_PTR>(wanted));
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle value) {
    if (FViewStyle == value)
        return;
    FViewStyle = value;
    if (!HandleAllocated())
        return;
    SetStyleBit(LVS_TYPEMASK, false);
    SetStyleBit(ViewStyleBits(value), true);
}

void TCustomListView::SetReadOnly(bool value) {
    FReadOnly = value;
    SetStyleBit(LVS_EDITLABELS, !value);
}

void TCustomListView::SetMultiSelect(bool value) {
    FMultiSelect = value;
    SetStyleBit(LVS_SINGLESEL, !value);
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    FShowColumnHeaders = value;
    SetStyleBit(LVS_NOCOLUMNHEADER, !value);
}

void TCustomListView::SetHideSelection(bool value) {
    FHideSelection = value;
    SetStyleBit(LVS_SHOWSELALWAYS, !value);
}

void TCustomListView::SetRowSelect(bool value) {
    FRowSelect = value;
    ApplyExtendedStyle();
}

void TCustomListView::SetCheckboxes(bool value) {
    if (FCheckboxes == value)
        return;
    FCheckboxes = value;
    ApplyExtendedStyle();
    if (value && HandleAllocated())
        for (int i = 0; i < FItems->Count(); ++i)
            FItems->Item(i)->SetChecked(FItems->Item(i)->FChecked);
}

void TCustomListView::SetGridLines(bool value) {
    FGridLines = value;
    ApplyExtendedStyle();
}

void TCustomListView::ApplyExtendedStyle() {
    if (!HandleAllocated())
        return;
    const DWORD mask = LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES;
    DWORD style = 0;
    if (FRowSelect)
        style |= LVS_EX_FULLROWSELECT;
    if (FCheckboxes)
        style |= LVS_EX_CHECKBOXES;
    if (FGridLines)
        style |= LVS_EX_GRIDLINES;
    SendMessageA(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style));
}

void TCustomListView::ApplyColors() {
    if (!HandleAllocated())
        return;
    const COLORREF back = ColorRefOf(FColor);
    SendMessageA(FHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageA(FHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageA(FHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorRefOf(Font()->Color())));
}

void TCustomListView::ImageListChanged(TObject*) {
    ApplyImageLists();
}

void TCustomListView::ApplyImageLists() {
    if (!HandleAllocated())
        return;
    auto handle = [](TCustomImageList* list) {
        return reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr);
    };
    SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, handle(SmallImages()));
    SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL, handle(LargeImages()));
    // The check boxes are the list's own state images: only a list given here replaces them.
    if (StateImages())
        SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_STATE, handle(StateImages()));
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove)
        return;
    FSmallImages.Removed(component);
    FLargeImages.Removed(component);
    FStateImages.Removed(component);
}

void TCustomListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEWA);
    // The image lists belong to their components, never to the window.
    params.Style |= LVS_SHAREIMAGELISTS | ViewStyleBits(FViewStyle);
    if (!FMultiSelect)
        params.Style |= LVS_SINGLESEL;
    if (!FReadOnly)
        params.Style |= LVS_EDITLABELS;
    if (!FShowColumnHeaders)
        params.Style |= LVS_NOCOLUMNHEADER;
    if (!FHideSelection)
        params.Style |= LVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyExtendedStyle();
    ApplyColors();
    ApplyImageLists();
    UpdateColumns();
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->InsertIntoWindow(i);
}

void TCustomListView::DestroyWnd() {
    // What only the window knows lives on in the items and columns.
    for (int i = 0; i < FItems->Count(); ++i) {
        TListItem* item = FItems->Item(i);
        item->Checked();
        item->Selected();
        item->Focused();
    }
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->Items(i)->Width();
    TWinControl::DestroyWnd();
}

void TCustomListView::UpdateColumns() {
    if (!HandleAllocated())
        return;
    while (SendMessageA(FHandle, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TListColumn* column = FColumns->Items(i);
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        c.fmt = ColumnFormat(column->FAlignment);
        c.cx = column->FWidth;
        c.pszText = const_cast<char*>(column->FCaption.c_str());
        c.iSubItem = i;
        SendMessageA(FHandle, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
    }
}

void TCustomListView::UpdateColumn(int index) {
    if (!HandleAllocated() || index < 0 || index >= FColumns->Count())
        return;
    const TListColumn* column = FColumns->Items(index);
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = ColumnFormat(column->FAlignment);
    c.cx = column->FWidth;
    c.pszText = const_cast<char*>(column->FCaption.c_str());
    SendMessageA(FHandle, LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

TListItem* TCustomListView::ItemAt(int index) const {
    return index >= 0 && index < FItems->Count() ? FItems->Item(index) : nullptr;
}

TListItem* TCustomListView::Selected() {
    if (!HandleAllocated()) {
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Item(i)->FSelected)
                return FItems->Item(i);
        return nullptr;
    }
    const auto index =
        static_cast<int>(SendMessageA(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return ItemAt(index);
}

void TCustomListView::SetSelected(TListItem* item) {
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Item(i)->FSelected = false;
    if (HandleAllocated()) {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    }
    if (!item || item->Owner() != FItems.get())
        return;
    item->SetSelected(true);
    item->SetFocused(true);
    item->MakeVisible();
}

int TCustomListView::ItemIndex() {
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int value) {
    SetSelected(ItemAt(value));
}

TListItem* TCustomListView::ItemFocused() {
    if (!HandleAllocated())
        return nullptr;
    return ItemAt(
        static_cast<int>(SendMessageA(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

int TCustomListView::SelCount() {
    if (HandleAllocated())
        return static_cast<int>(SendMessageA(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
    int count = 0;
    for (int i = 0; i < FItems->Count(); ++i)
        count += FItems->Item(i)->FSelected ? 1 : 0;
    return count;
}

HWND TCustomListView::HeaderHandle() {
    return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}

std::string TCustomListView::CellText(const TListItem& item, int column) {
    if (column == 0)
        return item.Caption();
    const TStrings* sub = item.SubItems();
    return column - 1 < sub->Count() ? sub->Get(column - 1) : std::string();
}

void TCustomListView::ItemChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE))
        return;
    // Rows carry their item; a row being deleted has left the list already.
    auto* item = reinterpret_cast<TListItem*>(change.lParam);
    if (!item)
        item = ItemAt(change.iItem);
    if (!item)
        return;
    if (OnChange)
        OnChange(this, item, ctState);
    if (((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && OnSelectItem)
        OnSelectItem(this, item, (change.uNewState & LVIS_SELECTED) != 0);
}

bool TCustomListView::HandleNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& cell = reinterpret_cast<NMLVDISPINFOA&>(header).item;
        const auto* item = reinterpret_cast<const TListItem*>(cell.lParam);
        if ((cell.mask & LVIF_TEXT) && item && cell.pszText && cell.cchTextMax > 0) {
            const std::string text = CellText(*item, cell.iSubItem);
            const size_t n = std::min(text.size(), static_cast<size_t>(cell.cchTextMax - 1));
            std::memcpy(cell.pszText, text.data(), n);
            cell.pszText[n] = '\0';
        }
        return true;
    }
    case LVN_GETDISPINFOW: {
        LVITEMW& cell = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        const auto* item = reinterpret_cast<const TListItem*>(cell.lParam);
        if ((cell.mask & LVIF_TEXT) && item && cell.pszText && cell.cchTextMax > 0) {
            const std::wstring text = AnsiToWide(CellText(*item, cell.iSubItem));
            const size_t n = std::min(text.size(), static_cast<size_t>(cell.cchTextMax - 1));
            std::wmemcpy(cell.pszText, text.data(), n);
            cell.pszText[n] = L'\0';
        }
        return true;
    }
    case LVN_ITEMCHANGED:
        ItemChanged(reinterpret_cast<NMLISTVIEW&>(header));
        return true;
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
        result = FReadOnly ? TRUE : FALSE;
        return true;
    case LVN_ENDLABELEDITA: {
        const LVITEMA& edit = reinterpret_cast<NMLVDISPINFOA&>(header).item;
        if (auto* item = ItemAt(edit.iItem); item && edit.pszText)
            item->SetCaption(edit.pszText);
        result = FALSE; // the caption is the item's; the list asks for it again
        return true;
    }
    case static_cast<UINT>(NM_CLICK):
        Click();
        return true;
    case static_cast<UINT>(NM_DBLCLK):
        DblClick();
        return true;
    default:
        return false;
    }
}

void TCustomListView::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY: {
        LRESULT result = 0;
        if (HandleNotify(*reinterpret_cast<NMHDR*>(message.LParam), result)) {
            message.Result = result;
            return;
        }
        break;
    }
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        TWinControl::WndProc(message);
        ApplyColors();
        return;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TListView::StaticClass(), TListColumn::StaticClass()}), true);
}
