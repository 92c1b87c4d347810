// The common controls: toolbar and tool buttons, status bar with panels, list view with
// columns and items, page control with tab sheets. Each is the comctl32 control under a
// window class named after its toolkit class.
#pragma once

#include "Canvas.h"
#include "Collection.h"
#include "Controls.h"
#include "ImageList.h"
#include "StdCtrls.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class TMainMenu;
class TMenuItem;
class TPopupMenu;

// Registers the comctl32 window classes named by ICC_ flags (once each).
void InitCommonControl(DWORD classes);

// ---- custom drawing ------------------------------------------------------------------------

enum TCustomDrawStateItem {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;
extern const TEnumType CustomDrawStateType;
// The custom-draw state of an item's CDIS_ flags.
TCustomDrawState CustomDrawStateOf(UINT itemState);

// Keeps a control's image lists: tells the control when one changes and forgets one that is
// freed.
class TImageListLink {
public:
    TImageListLink(TComponent& owner, const TNotifyEvent& changed);
    ~TImageListLink();
    TImageListLink(const TImageListLink&) = delete;
    TImageListLink& operator=(const TImageListLink&) = delete;
    TCustomImageList* List() const { return FList; }
    void Set(TCustomImageList* list);
    // Called from the owner's Notification.
    void Removed(TComponent* component);

private:
    TComponent& FOwner;
    TCustomImageList* FList = nullptr;
    TChangeLink FLink;
};

// ---- toolbar -------------------------------------------------------------------------------

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
extern const TEnumType ToolButtonStyleType;

class TToolBar;

// A button of a toolbar. It has no window: the toolbar draws it, and its bounds follow the
// toolbar's layout. A separator's width is its Width.
class TToolButton : public TGraphicControl {
    TW_DECLARE_CLASS(TToolButton, TGraphicControl)
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolBar* ToolBar() const { return FToolBar; }
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    // Position among the toolbar's buttons.
    int Index() const;

    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Down();
    void SetDown(bool value);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool value);
    bool Indeterminate() const { return FIndeterminate; }
    void SetIndeterminate(bool value);
    bool Marked() const { return FMarked; }
    void SetMarked(bool value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);
    // The menu the button's arrow (tbsDropDown) or the button itself (other styles) drops.
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* value);
    // A menu item whose sub-items the button drops, or whose click it is.
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* value);

    void Click() override;
    // Drops the button's menu under it; false when it has none. Returns after the menu
    // closed (and the chosen item's OnClick ran).
    bool CheckMenuDropdown();
    void Paint(HDC) override {}

protected:
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    void Changed();
    void SetButtonBounds(const RECT& r);

    TToolBar* FToolBar = nullptr;
    TToolButtonStyle FStyle = tbsButton;
    int FImageIndex = -1;
    bool FDown = false;
    bool FGrouped = false;
    bool FIndeterminate = false;
    bool FMarked = false;
    bool FWrap = false;
    TPopupMenu* FDropdownMenu = nullptr;
    TMenuItem* FMenuItem = nullptr;
    int FCommand = 0;
};

using TTBCustomDrawEvent = TClosure<void(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTBCustomDrawBtnEvent =
    TClosure<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;

// A row of buttons with images (normal, disabled and hot lists) and captions under them (or
// beside them with List). OnCustomDraw paints the background before the buttons,
// OnCustomDrawButton each button; clearing DefaultDraw leaves out the system's drawing.
class TToolBar : public TWinControl {
    TW_DECLARE_CLASS(TToolBar, TWinControl)
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TToolButton* Buttons(int index) const;
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool value);
    bool List() const { return FList; }
    void SetList(bool value);
    bool Wrapable() const { return FWrapable; }
    void SetWrapable(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    TCustomImageList* Images() const { return FImages.List(); }
    void SetImages(TCustomImageList* value) { FImages.Set(value); }
    TCustomImageList* DisabledImages() const { return FDisabledImages.List(); }
    void SetDisabledImages(TCustomImageList* value) { FDisabledImages.Set(value); }
    TCustomImageList* HotImages() const { return FHotImages.List(); }
    void SetHotImages(TCustomImageList* value) { FHotImages.Set(value); }
    // A main menu shown as buttons: one per top-level item, dropping the item's sub-items.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    // The canvas custom-draw handlers paint on (valid during the handlers).
    TCanvas* Canvas() const { return FCanvas.get(); }

    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolButton;
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    TToolButton* FindButton(int command) const;
    // Puts the buttons into the window again and moves the tool buttons to their places.
    void RecreateButtons();
    void UpdateButtonBounds();
    void ImageListChanged(TObject* sender);
    void ApplyImageLists();
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
    void CommandClicked(int command);
    void DropDown(int command);
    void BuildMenuButtons();

    std::vector<TToolButton*> FButtons;
    int FNextCommand = 1;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FFlat = false;
    bool FShowCaptions = false;
    bool FList = false;
    bool FWrapable = true;
    bool FTransparent = false;
    int FIndent = 0;
    TImageListLink FImages;
    TImageListLink FDisabledImages;
    TImageListLink FHotImages;
    TMainMenu* FMenu = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FUpdating = false;
};

// ---- status bar ----------------------------------------------------------------------------

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumType StatusPanelStyleType;
extern const TEnumType StatusPanelBevelType;

class TCustomStatusBar;

class TStatusPanel : public TCollectionItem {
    TW_DECLARE_CLASS(TStatusPanel, TCollectionItem)
    explicit TStatusPanel(TCollection* collection);
    ~TStatusPanel() override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    // The last panel runs to the right edge of the bar whatever its width.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    // Right to left: the text reads from the right, left and right alignment exchange.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    std::string DisplayName() const override;

private:
    TBiDiMode FBiDiMode = bdLeftToRight;
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TCollection {
    TW_DECLARE_CLASS(TStatusPanels, TCollection)
    explicit TStatusPanels(TCustomStatusBar* statusBar);
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Insert(int index) { return static_cast<TStatusPanel*>(TCollection::Insert(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar* FStatusBar;
};

using TDrawPanelEvent = TClosure<void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// A bar of text panels along the bottom of a form, or one simple text across it.
class TCustomStatusBar : public TWinControl {
    TW_DECLARE_CLASS(TCustomStatusBar, TWinControl)
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* value);
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);
    // A size grip at the right end, shown when the form can be resized.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // The panel's rectangle in the bar; empty when the bar has no window or no such panel.
    TRect PanelRect(int index);
    TCanvas* Canvas() const { return FCanvas.get(); }

    TDrawPanelEvent OnDrawPanel;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    friend class TStatusPanels;
    void UpdatePanels();
    void UpdatePanel(int index);
    void ApplyColor();

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    std::unique_ptr<TCanvas> FCanvas;
};

class TStatusBar : public TCustomStatusBar {
    TW_DECLARE_CLASS(TStatusBar, TCustomStatusBar)
    using TCustomStatusBar::TCustomStatusBar;
};

// ---- progress bar and track bar ----------------------------------------------------------

// Min, Max and Position of a bar; Position stays inside the limits, and a limit moved past the
// other takes it along.
struct TBarRange {
    int Min = 0;
    int Max = 100;
    int Position = 0;
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
};

// A bar showing a position between two limits: the progress and track bars. The control keeps
// the range while it has no window and hands it to every window it makes.
class TCustomRangeBar : public TWinControl {
    TW_DECLARE_CLASS(TCustomRangeBar, TWinControl)
    TCustomRangeBar(TComponent* owner, TBarRange range);

    int Min() const { return FRange.Min; }
    void SetMin(int value);
    int Max() const { return FRange.Max; }
    void SetMax(int value);
    // The window's position when there is a window.
    int Position();
    void SetPosition(int value);

protected:
    void CreateWnd() override;
    // Hands the range to the window (which exists).
    virtual void ApplyRange() = 0;
    virtual int WindowPosition() = 0;
    // The position moved (by the program or the user).
    virtual void PositionChanged() {}
    void SyncWindow();

    TBarRange FRange;

private:
    // Applies one change to the range, tells the window and reports a moved position.
    void ChangeRange(void (TBarRange::*change)(int), int value);
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };
extern const TEnumType ProgressBarOrientationType;

// The comctl32 progress bar: Position between Min and Max, lying or standing.
class TProgressBar : public TCustomRangeBar {
    TW_DECLARE_CLASS(TProgressBar, TCustomRangeBar)
    explicit TProgressBar(TComponent* owner);

    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void ApplyRange() override;
    int WindowPosition() override;

private:
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
extern const TEnumType TrackBarOrientationType;

// The comctl32 track bar: a thumb moved along a channel between Min and Max, with a tick
// every Frequency positions. OnChange runs when the position changes.
class TTrackBar : public TCustomRangeBar {
    TW_DECLARE_CLASS(TTrackBar, TCustomRangeBar)
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void ApplyRange() override;
    int WindowPosition() override;
    void PositionChanged() override;

private:
    TTrackBarOrientation FOrientation = trHorizontal;
    int FFrequency = 1;
};

// ---- list view -----------------------------------------------------------------------------

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
extern const TEnumType ViewStyleType;

class TCustomListView;
class TListItems;

class TListColumn : public TCollectionItem {
    TW_DECLARE_CLASS(TListColumn, TCollectionItem)
    explicit TListColumn(TCollection* collection);
    ~TListColumn() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // The width the user dragged the column to, when the list view has a window.
    int Width();
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    std::string DisplayName() const override;

private:
    friend class TCustomListView;
    std::string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TCollection {
    TW_DECLARE_CLASS(TListColumns, TCollection)
    explicit TListColumns(TCustomListView* listView);
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Insert(int index) { return static_cast<TListColumn*>(TCollection::Insert(index)); }
    TCustomListView* ListView() const { return FListView; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FListView;
};

// One row: a caption, sub-items for the further columns (and beyond them, as data a row
// carries without showing it), an image, a check mark and the selection.
class TListItem : public TPersistent {
    TW_DECLARE_CLASS(TListItem, TPersistent)
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    TStrings* SubItems() const { return FSubItems.get(); }
    void SetSubItems(TStrings* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Checked();
    void SetChecked(bool value);
    bool Selected();
    void SetSelected(bool value);
    bool Focused();
    void SetFocused(bool value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    // Removes the item from its list and frees it.
    void Delete();
    void MakeVisible();

private:
    friend class TListItems;
    friend class TCustomListView;
    bool State(UINT mask);
    void SetState(UINT mask, bool on);
    void SubItemsChanged(TObject* sender);
    void Changed();

    TListItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    int FImageIndex = -1;
    void* FData = nullptr;
    // The window's state, kept while there is no window.
    bool FChecked = false;
    bool FSelected = false;
    bool FFocused = false;
};

class TListItems : public TPersistent {
    TW_DECLARE_CLASS(TListItems, TPersistent)
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;

    TCustomListView* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // Holds the window's painting until the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TListItem;
    friend class TCustomListView;
    void InsertIntoWindow(int index);

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};

using TLVSelectItemEvent = TClosure<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVChangeEvent = TClosure<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVDeletedEvent = TClosure<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
    TW_DECLARE_CLASS(TCustomListView, TWinControl)
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TListColumns* value);
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle value);
    // Captions cannot be edited in place.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    TCustomImageList* SmallImages() const { return FSmallImages.List(); }
    void SetSmallImages(TCustomImageList* value) { FSmallImages.Set(value); }
    TCustomImageList* LargeImages() const { return FLargeImages.List(); }
    void SetLargeImages(TCustomImageList* value) { FLargeImages.Set(value); }
    TCustomImageList* StateImages() const { return FStateImages.List(); }
    void SetStateImages(TCustomImageList* value) { FStateImages.Set(value); }

    // The first selected item; nullptr when none is.
    TListItem* Selected();
    // Selects only this item (nullptr: none).
    void SetSelected(TListItem* item);
    int ItemIndex();
    void SetItemIndex(int value);
    TListItem* ItemFocused();
    int SelCount();
    // The header control of the report view.
    HWND HeaderHandle();

    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVDeletedEvent OnDeletion;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListColumns;
    friend class TListColumn;
    friend class TListItem;
    friend class TListItems;
    void UpdateColumns();
    void UpdateColumn(int index);
    void ApplyExtendedStyle();
    void ApplyColors();
    void ImageListChanged(TObject* sender);
    void ApplyImageLists();
    void SetStyleBit(DWORD bit, bool on);
    bool HandleNotify(NMHDR& header, LRESULT& result);
    void ItemChanged(const NMLISTVIEW& change);
    TListItem* ItemAt(int index) const;
    // The text of a row's cell: the caption in column 0, a sub-item in the others.
    static std::string CellText(const TListItem& item, int column);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FMultiSelect = false;
    bool FShowColumnHeaders = true;
    bool FCheckboxes = false;
    bool FGridLines = false;
    bool FHideSelection = true;
    TImageListLink FSmallImages;
    TImageListLink FLargeImages;
    TImageListLink FStateImages;
};

class TListView : public TCustomListView {
    TW_DECLARE_CLASS(TListView, TCustomListView)
    using TCustomListView::TCustomListView;
};

// ---- page control --------------------------------------------------------------------------

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const TEnumType TabStyleType;
extern const TEnumType TabPositionType;

using TTabChangingEvent = TClosure<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs (or buttons) over a display area.
class TCustomTabControl : public TWinControl {
    TW_DECLARE_CLASS(TCustomTabControl, TWinControl)
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    int TabIndex();
    void SetTabIndex(int value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    TCustomImageList* Images() const { return FImages.List(); }
    void SetImages(TCustomImageList* value) { FImages.Set(value); }
    // The area inside the tabs and the frame, in client coordinates.
    TRect DisplayRect();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The tabs as the control shows them: their captions and image indices.
    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int index) const = 0;
    virtual int TabImage(int) const { return -1; }
    // Rebuilds the window's tabs from TabCount and TabCaption.
    void UpdateTabs();
    // A tab was chosen: the new index is already selected.
    virtual void Change();
    virtual bool CanChange();
    int FTabIndex = -1;

private:
    void ImageListChanged(TObject* sender);

    TTabStyle FStyle = tsTabs;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    bool FHotTrack = false;
    TImageListLink FImages;
};

// A row of tabs over one display area, without pages: the tabs are the lines of Tabs, and the
// controls inside share the display area whichever tab is chosen (OnChange tells which).
class TTabControl : public TCustomTabControl {
    TW_DECLARE_CLASS(TTabControl, TCustomTabControl)
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(TStrings* value);

protected:
    int TabCount() const override;
    std::string TabCaption(int index) const override;
    void AlignControls(RECT& rect) override;

private:
    void TabsChanged(TObject* sender);

    std::unique_ptr<TStringList> FTabs;
};

class TPageControl;

// A page of a page control; only the active page is shown, in the control's display area.
class TTabSheet : public TWinControl {
    TW_DECLARE_CLASS(TTabSheet, TWinControl)
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    void SetParent(TWinControl* parent) override;
    void SetParentComponent(TComponent* value) override;
    int PageIndex() const;
    void SetPageIndex(int value);
    // The index of its tab, -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

protected:
    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    TW_DECLARE_CLASS(TPageControl, TCustomTabControl)
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The next (or previous) page with a visible tab, wrapping around.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward);
    void SelectNextPage(bool forward);

protected:
    void AlignControls(RECT& rect) override;
    void Loaded() override;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on the control or a page.
    void WndProc(TMessage& message) override;
    int TabCount() const override;
    std::string TabCaption(int index) const override;
    int TabImage(int index) const override;
    void Change() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void PageChanged();
    TTabSheet* PageForTab(int tabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};
