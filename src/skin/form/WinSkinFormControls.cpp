// The control skinners of a window: their list, and discovery, which walks a framework form's
// components and tab order (or a foreign window's child windows) and carries out, for each
// control, the plan SkinnerChoice.cpp decides.
#include "WinSkinForm.h"

#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinnerFactory.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "WinSubClass.h"

#include <algorithm>

// ---- the list -------------------------------------------------------------------------------

bool TWinSkinForm::AddControl(TSkinControl* skinner) {
    if (std::find(FControls.begin(), FControls.end(), skinner) != FControls.end())
        return true;
    FControls.push_back(skinner);
    return false;
}

void TWinSkinForm::RemoveControl(TSkinControl* skinner) {
    const auto last = std::find(FControls.rbegin(), FControls.rend(), skinner);
    if (last != FControls.rend())
        FControls.erase(std::next(last).base());
}

TSkinControl* TWinSkinForm::FindControl(HWND wnd) const {
    for (TSkinControl* skinner : FControls)
        if (skinner->Handle() == wnd)
            return skinner;
    return nullptr;
}

TSkinControl* TWinSkinForm::FindControlOf(const TControl* control) const {
    for (TSkinControl* skinner : FControls)
        if (skinner->Control() == control || skinner->GraphicControl() == control)
            return skinner;
    return nullptr;
}

void TWinSkinForm::PurgeDestroyedControls() {
    for (size_t i = FControls.size(); i-- > 0;) {
        if (FControls[i]->State() != TSkinControl::stDestroyed)
            continue;
        TSkinControl* gone = FControls[i];
        FControls.erase(FControls.begin() + static_cast<std::ptrdiff_t>(i));
        TObject::Free(gone);
    }
}

void TWinSkinForm::ClearControls() {
    while (!FControls.empty()) {
        TSkinControl* skinner = FControls.front();
        FControls.erase(FControls.begin());
        if (skinner->State() != TSkinControl::stDestroyed) {
            RemoveToolbarHandlers(skinner->Control());
            skinner->Detach();
        }
        TObject::Free(skinner);
    }
}

void TWinSkinForm::SkinChangedControls() {
    // A skinner may free itself or others while it re-reads the skin: walk a copy and skip
    // what has left the list meanwhile.
    const std::vector<TSkinControl*> skinners = FControls;
    for (TSkinControl* skinner : skinners)
        if (std::find(FControls.begin(), FControls.end(), skinner) != FControls.end())
            skinner->SkinChanged();
}

void TWinSkinForm::ReskinScroll(HWND wnd) {
    const auto found = std::find_if(FControls.rbegin(), FControls.rend(),
                                    [wnd](const TSkinControl* s) { return s->Handle() == wnd; });
    if (found == FControls.rend())
        return;
    TSkinControl* old = *found;
    const TSkinnerKind family = old->InheritsFrom("TSkinListView") ? skListView : skScrollbar;
    TWinControl* control = old->Control();
    FControls.erase(std::next(found).base());
    TObject::Free(old);
    if (!control)
        return;
    TSkinnerChoice choice;
    choice.Kind = family;
    choice.Attach = saScrolled;
    AttachSkinner(choice, *this, control, control->Handle());
}

// ---- what the decisions read ------------------------------------------------------------------

namespace {

TControlFacts FactsOf(TControl& control) {
    TControlFacts facts;
    facts.Class = control.ClassType();
    facts.ClassName = UpperCase(control.ClassName());
    if (auto* windowed = dynamic_cast<TWinControl*>(&control); windowed && windowed->HandleAllocated()) {
        const HWND wnd = windowed->Handle();
        facts.Style = GetWindowLongPtrA(wnd, GWL_STYLE);
        RECT window{}, client{};
        GetWindowRect(wnd, &window);
        GetClientRect(wnd, &client);
        facts.HasBorder =
            (window.right - window.left) != client.right || (window.bottom - window.top) != client.bottom;
    }
    facts.PageStyle = GetEnumText(&control, "Style");
    facts.NumButtons = GetIntProp(&control, "NumButtons");
    facts.Kind = GetEnumText(&control, "Kind");
    return facts;
}

bool AnswersSkinned(HWND wnd) {
    return wnd && SendMessageA(wnd, WMS_ISSKINNED, 0, 0) == 1;
}

} // namespace

bool TWinSkinForm::IsSkinnedControl(TControl* control) {
    if (FindControlOf(control))
        return true;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    return windowed && windowed->HandleAllocated() && AnswersSkinned(windowed->Handle());
}

// ---- framework forms ------------------------------------------------------------------------

void TWinSkinForm::SkinFormControls(TWinControl* form) {
    if (!form || !FSkinData)
        return;
    PurgeDestroyedControls();
    SkinComponents(form);
    std::vector<TWinControl*> tabOrder;
    form->GetTabOrderList(tabOrder);
    for (TWinControl* control : tabOrder) {
        const bool handled = !control->HandleAllocated() || control->Tag() == FSkinData->DisableTag() ||
                             AnswersSkinned(control->Handle());
        if (!handled)
            SkinControl(control, form);
    }
}

void TWinSkinForm::SkinComponents(TComponent* component) {
    if (!component)
        return;
    auto* parent = dynamic_cast<TControl*>(component);
    for (int i = 0; i < component->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(component->Components(i)))
            SkinControl(control, parent);
    if (FMenuItems && FSkinData && FSkinData->SkinControls().Contains(xcPopupMenu))
        FMenuItems->HookPopupMenus(component, true);
}

void TWinSkinForm::SkinChildren(TWinControl* control) {
    if (!control)
        return;
    for (int i = 0; i < control->ControlCount(); ++i)
        SkinControl(control->Controls(i), control);
}

void TWinSkinForm::SkinControl(TControl* control, TControl* parent) {
    if (!control || !FSkinData)
        return;
    TSkinData& skin = *FSkinData;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (control->Tag() == skin.DisableTag()) {
        if (windowed && IsButtonGroupClass(control->ClassName()))
            for (int i = 0; i < windowed->ControlCount(); ++i)
                windowed->Controls(i)->SetTag(skin.DisableTag());
        return;
    }
    if (!control->Parent() || IsSkinnedControl(control))
        return;
    const std::string className = UpperCase(control->ClassName());
    if (windowed && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (...) {
            return; // a control that cannot have a window keeps its look
        }
    }
    if (skin.OnSkinControl) {
        TComponent* supplied = nullptr;
        skin.OnSkinControl(this, &skin, parent, control, className, supplied);
        if (auto* skinner = dynamic_cast<TSkinControl*>(supplied)) {
            if (std::find(FControls.begin(), FControls.end(), skinner) == FControls.end())
                skinner->AttachControl(this, &skin, skinner->OwnColor(), &FControlCanvas);
            if (control->InheritsFrom("TCustomPanel"))
                SkinChildren(windowed);
            return;
        }
    }
    if (MapSkin3rd(className, control))
        return;
    static constexpr std::string_view kNeverSkinned[] = {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"};
    if (std::find(std::begin(kNeverSkinned), std::end(kNeverSkinned), className) != std::end(kNeverSkinned))
        return;
    CarryOut(PlanFromClassTable(FactsOf(*control), SkinSettings()), control);
}

bool TWinSkinForm::MapSkin3rd(const std::string& className, TControl* control) {
    if (!FSkinData || !control)
        return false;
    const auto value = Skin3rdValue(*FSkinData->Skin3rd(), className);
    if (!value)
        return false;
    if (*value != "nil")
        CarryOut(PlanFromSkin3rd(*value, FactsOf(*control), SkinSettings()), control);
    return true;
}

TSkinSettings TWinSkinForm::SkinSettings() const {
    TSkinSettings settings;
    if (FSkinData) {
        settings.Controls = FSkinData->SkinControls();
        settings.HasTabs = FSkinData->Elements().Tabs != nullptr;
    }
    settings.FrameSkinned = FSkinFrame;
    return settings;
}

void TWinSkinForm::CarryOut(const TSkinPlan& plan, TControl* control) {
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (plan.SetFlat)
        SetPropText(control, "Flat", "True");
    if (plan.SetTransparent)
        SetPropText(control, "Transparent", "True");
    if (plan.Children == cwBefore)
        SkinChildren(windowed);
    if (plan.Children == cwGroupChildren)
        SkinGroupChildren(windowed, plan.ChildRule);
    if (plan.ToolbarHandlers)
        if (auto* toolbar = dynamic_cast<TToolBar*>(control))
            InstallToolbarHandlers(*toolbar);
    if (plan.Skinner.Kind != skNone && !FindControlOf(control))
        AttachSkinner(plan.Skinner, *this, control, windowed ? windowed->Handle() : nullptr);
    if (plan.Children == cwAfter)
        SkinChildren(windowed);
    if (plan.Children == cwAfterNoParent && windowed)
        for (int i = 0; i < windowed->ControlCount(); ++i)
            SkinControl(windowed->Controls(i), nullptr);
    if (plan.WalkComponents)
        SkinComponents(control);
    if (plan.HookMenuItems)
        HookToolMenus(control);
}

// The drop-down items of a tool button, or every item of a toolbar's menu.
void TWinSkinForm::HookToolMenus(TControl* control) {
    if (!FMenuItems)
        return;
    if (auto* button = dynamic_cast<TToolButton*>(control))
        FMenuItems->HookItemTree(button->MenuItem(), true);
    if (auto* toolbar = dynamic_cast<TToolBar*>(control))
        if (TMainMenu* menu = toolbar->Menu())
            for (int i = 0; i < menu->Items()->Count(); ++i)
                FMenuItems->HookItemTree(menu->Items()->Items(i), true);
}

void TWinSkinForm::UnhookMenus() {
    if (!FMenuItems || !FForm)
        return;
    FMenuItems->HookPopupMenus(FForm, false);
    if (FSkinData && FSkinData->SkinControls().Contains(xcMenuItem))
        FMenuItems->HookMainMenus(FForm, false);
    // Whatever else points at this painter (toolbar and tool-button menus) lets go too.
    FMenuItems->UnhookTree(FForm);
}

void TWinSkinForm::SkinGroupChildren(TWinControl* group, TChildRule rule) {
    if (!group)
        return;
    const TSkinSettings settings = SkinSettings();
    for (int i = 0; i < group->ControlCount(); ++i) {
        TControl* child = group->Controls(i);
        const TSkinnerChoice choice = GroupChildSkinner(rule, FactsOf(*child), settings);
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (choice.Kind != skNone && !FindControlOf(child))
            AttachSkinner(choice, *this, child, windowed ? windowed->Handle() : nullptr);
    }
}

// ---- foreign windows ------------------------------------------------------------------------

void TWinSkinForm::SkinWindowChildren(HWND wnd) {
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD)
            SkinWindow(child);
}

void TWinSkinForm::SkinWindow(HWND wnd) {
    if (!FSkinData || !IsWindow(wnd) || FindControl(wnd))
        return;
    char name[101] = {};
    GetClassNameA(wnd, name, sizeof name);
    const TWindowPlan plan = PlanForWindow(LowerCase(name), GetWindowLongPtrA(wnd, GWL_STYLE));
    if (plan.WalkChildren)
        SkinWindowChildren(wnd);
    if (plan.FaceColor)
        if (TWinControl* control = ::FindControl(wnd))
            control->SetColor(static_cast<TColor>(FSkinData->Elements().Colors.ButtonFace));
    if (plan.Kind == skNone)
        return;
    const HWND target = plan.FirstChild ? GetWindow(wnd, GW_CHILD) : wnd;
    if (!target || FindControl(target))
        return;
    TSkinnerChoice choice;
    choice.Kind = plan.Kind;
    choice.Attach = saWindow;
    AttachSkinner(choice, *this, nullptr, target);
}

// ---- start and skin changes -------------------------------------------------------------------

void TWinSkinForm::SkinOwnControls() {
    if (auto* form = dynamic_cast<TWinControl*>(FForm))
        SkinFormControls(form);
    else if (!FForm)
        SkinWindowChildren(FHandle);
}
