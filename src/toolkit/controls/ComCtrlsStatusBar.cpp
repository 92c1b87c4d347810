// TStatusBar: the comctl32 status bar with its parts kept in step with a panel collection.
#include "ComCtrls.h"

#include <uxtheme.h>

#include <algorithm>

const TEnumType StatusPanelStyleType{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
const TEnumType StatusPanelBevelType{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};

// ---- TStatusPanel --------------------------------------------------------------------------

TClass TStatusPanel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TStatusPanel>("TStatusPanel")
            .Enum("Alignment", AlignmentType, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
            .Enum("Bevel", StatusPanelBevelType, &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
            .Enum("BiDiMode", BiDiModeType, &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode)
            .Enum("Style", StatusPanelStyleType, &TStatusPanel::Style, &TStatusPanel::SetStyle)
            .Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
            .Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
            .Build();
    return &info;
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

TStatusPanel::~TStatusPanel() = default;

std::string TStatusPanel::DisplayName() const {
    return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

void TStatusPanel::SetText(const std::string& value) {
    if (FText == value)
        return;
    FText = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    if (FWidth == value)
        return;
    FWidth = std::max(value, 0);
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (FBevel == value)
        return;
    FBevel = value;
    Changed(false);
}

void TStatusPanel::SetBiDiMode(TBiDiMode value) {
    if (FBiDiMode == value)
        return;
    FBiDiMode = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Changed(false);
}

// ---- TStatusPanels -------------------------------------------------------------------------

TClass TStatusPanels::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStatusPanels>("TStatusPanels").Build();
    return &info;
}

TStatusPanels::TStatusPanels(TCustomStatusBar* statusBar)
    : TCollection(TStatusPanel::StaticClass(), statusBar), FStatusBar(statusBar) {}

void TStatusPanels::Update(TCollectionItem* item) {
    if (item)
        FStatusBar->UpdatePanel(item->Index());
    else
        FStatusBar->UpdatePanels();
}

// ---- TCustomStatusBar ----------------------------------------------------------------------

TClass TCustomStatusBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomStatusBar>("TCustomStatusBar").Build();
    return &info;
}

TClass TStatusBar::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TStatusBar>("TStatusBar")
            .Obj<TStatusPanels>("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels)
            .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
            .Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
            .Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip)
            .Event<TDrawPanelEvent>("OnDrawPanel", &TStatusBar::OnDrawPanel)
            .Build();
    return &info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(this)),
      FCanvas(std::make_unique<TCanvas>()) {
    InitCommonControl(ICC_BAR_CLASSES);
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    FAlign = alBottom;
    FWidth = 150;
    FHeight = 19;
    FParentColor = false;
    FColor = clBtnFace;
}

TCustomStatusBar::~TCustomStatusBar() = default;

void TCustomStatusBar::SetPanels(TStatusPanels* value) {
    FPanels->Assign(value);
}

void TCustomStatusBar::SetSimplePanel(bool value) {
    if (FSimplePanel == value)
        return;
    FSimplePanel = value;
    if (HandleAllocated()) {
        SendMessageA(FHandle, SB_SIMPLE, value, 0);
        UpdatePanels();
    }
}

void TCustomStatusBar::SetSimpleText(const std::string& value) {
    if (FSimpleText == value)
        return;
    FSimpleText = value;
    if (HandleAllocated() && FSimplePanel)
        SendMessageA(FHandle, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value)
        return;
    FSizeGrip = value;
    RecreateWnd();
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEA);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    // A grip only where it can resize something: in a form with a sizing border.
    if (FSizeGrip && params.WndParent &&
        (GetWindowLongPtrA(GetAncestor(params.WndParent, GA_ROOT), GWL_STYLE) & WS_THICKFRAME))
        params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyColor();
    if (FSimplePanel)
        SendMessageA(FHandle, SB_SIMPLE, TRUE, 0);
    UpdatePanels();
}

void TCustomStatusBar::ApplyColor() {
    if (!HandleAllocated())
        return;
    const bool own = FColor != clBtnFace;
    // A visual style paints its own background: a colour of the bar's own turns it off.
    if (own)
        SetWindowTheme(FHandle, L" ", L" ");
    SendMessageA(FHandle, SB_SETBKCOLOR, 0, own ? ColorRefOf(FColor) : CLR_DEFAULT);
    Invalidate();
}

void TCustomStatusBar::UpdatePanels() {
    if (!HandleAllocated())
        return;
    // Parts are given by their right edges; the last one runs to the edge of the bar.
    const int count = std::min(FPanels->Count(), 255);
    std::vector<int> edges(static_cast<size_t>(std::max(count, 1)), -1);
    int right = 0;
    for (int i = 0; i + 1 < count; ++i) {
        right += FPanels->Items(i)->Width();
        edges[static_cast<size_t>(i)] = right;
    }
    SendMessageA(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (count == 0)
        SendMessageA(FHandle, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    for (int i = 0; i < count; ++i)
        UpdatePanel(i);
    if (FSimplePanel)
        SendMessageA(FHandle, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

void TCustomStatusBar::UpdatePanel(int index) {
    if (!HandleAllocated() || index < 0 || index >= FPanels->Count() || index > 254)
        return;
    const TStatusPanel* panel = FPanels->Items(index);
    WPARAM how = static_cast<WPARAM>(index);
    if (panel->Bevel() == pbNone)
        how |= SBT_NOBORDERS;
    else if (panel->Bevel() == pbRaised)
        how |= SBT_POPOUT;
    if (panel->Style() == psOwnerDraw) {
        SendMessageA(FHandle, SB_SETTEXTA, how | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
        return;
    }
    // A tab before the text centres it, two right-align it.
    TAlignment alignment = panel->Alignment();
    if (panel->BiDiMode() == bdRightToLeft && alignment != taCenter) {
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
        how |= SBT_RTLREADING;
    }
    std::string text = panel->Text();
    if (alignment == taCenter)
        text.insert(0, "\t");
    else if (alignment == taRightJustify)
        text.insert(0, "\t\t");
    SendMessageA(FHandle, SB_SETTEXTA, how, reinterpret_cast<LPARAM>(text.c_str()));
}

TRect TCustomStatusBar::PanelRect(int index) {
    RECT r{0, 0, 0, 0};
    if (HandleAllocated())
        SendMessageA(FHandle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomStatusBar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_COLORCHANGED:
        ApplyColor();
        break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdatePanels(); // the last part follows the right edge
        return;
    case CN_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        const auto index = static_cast<int>(draw.itemID);
        if (OnDrawPanel && index >= 0 && index < FPanels->Count()) {
            FCanvas->SetHandle(draw.hDC);
            FCanvas->Font()->Assign(Font());
            FCanvas->Brush()->SetColor(FColor);
            try {
                OnDrawPanel(this, FPanels->Items(index), draw.rcItem);
            } catch (...) {
                FCanvas->SetHandle(nullptr);
                throw;
            }
            FCanvas->SetHandle(nullptr);
        }
        message.Result = TRUE;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TStatusBar::StaticClass(), TStatusPanel::StaticClass()}), true);
}
