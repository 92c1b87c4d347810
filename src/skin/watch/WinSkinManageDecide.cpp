// Which windows are skinned, with which skin data component, and the popup menu objects.
#include "WinSkinManage.h"

#include "Forms.h"
#include "WinSkinDataShared.h"
#include "WinSkinManageText.h"

#include <algorithm>

using skinmanage::ClassNameOf;
using skinmanage::LowerAscii;

namespace {

constexpr const char* kDialogClass = "#32770";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A child window that is neither an MDI child nor inside an MDI client.
bool IsPlainChild(HWND wnd) {
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(wnd, GWL_EXSTYLE);
    return (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) &&
           LowerAscii(ClassNameOf(GetParent(wnd))) != "mdiclient";
}

bool HasEmptyRect(HWND wnd) {
    RECT rect{};
    GetWindowRect(wnd, &rect);
    return rect.right == rect.left || rect.bottom == rect.top;
}

} // namespace

bool TSkinManage::SkinWindow(HWND wnd) {
    if (!FActive || !IsWindow(wnd))
        return false;
    Purge();
    if (SendMessageA(wnd, WMS_ISSKINNED, 0, 0) == 1 || FindSkinForm(wnd))
        return false;
    TControl* form = FindForm(wnd);
    const std::string className = ClassNameOf(wnd);
    if (!SkinTestsPass(wnd, form, className))
        return false;
    TSkinData* skin = ChooseSkinData(wnd);
    if (!skin || skin->SkinLoading())
        return false;

    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(form));
    painter->SetHandle(wnd);
    painter->SetOwnerTag(FOwnerTag);
    painter->SetWindowClass(className);
    if (form)
        painter->AttachForm(*skin, form);
    else
        painter->AttachHandle(*skin);
    if (!painter->Attached())
        return false; // the window went away meanwhile
    FForms.push_back(painter.release());
    PostMessageA(wnd, WMS_SKINSTART, 0, 1000);
    return true;
}

bool TSkinManage::SkinTestsPass(HWND wnd, TControl* form, const std::string& className) {
    if (!FForceAll && IsPlainChild(wnd))
        return false;
    const bool ownModule =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(wnd, GWLP_HINSTANCE)) == ModuleInstance();
    if (!form && !ownModule && className != kDialogClass)
        return false;
    const bool mdiChild = (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if (!mdiChild && HasEmptyRect(wnd))
        return false;
    if (form && form->Tag() == NeverSkinTag)
        return false;
    if (Contains(className, "TcxPopupEditPopupWindow") || className == "TApplication")
        return false;
    return FilterWindow(wnd, className);
}

bool TSkinManage::FilterWindow(HWND wnd, const std::string& className) {
    bool skin = true;
    if (!FDefaultSkin)
        return skin;
    if (!FDefaultSkin->Options().Contains(xoPreview) && Contains(LowerAscii(className), "preview"))
        skin = false;
    FDefaultSkin->ShouldSkinWindow(wnd, className, skin);
    return skin;
}

bool TSkinManage::OwnerWindowIs(const TSkinData& skin, HWND wnd) const {
    // Only a window that exists can be this one: creating the owner's window here, inside the
    // hook, could make a second window for a form whose window is being created right now.
    auto* owner = dynamic_cast<TWinControl*>(skin.Owner());
    return owner && owner->HandleAllocated() && owner->Handle() == wnd;
}

TSkinData* TSkinManage::LastOfKind(TSkinFormType kind) const {
    const auto it = std::find_if(FSkinDatas.rbegin(), FSkinDatas.rend(),
                                 [kind](const TSkinData* s) { return s->SkinFormtype() == kind; });
    return it == FSkinDatas.rend() ? nullptr : *it;
}

TSkinData* TSkinManage::ChooseSkinData(HWND wnd) {
    for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
        if ((*it)->SkinFormtype() == sfOnlyThisForm && OwnerWindowIs(**it, wnd))
            return *it;
    const std::string className = LowerAscii(ClassNameOf(wnd));
    if (className == "tmessageform" || className == kDialogClass)
        if (TSkinData* dialogs = LastOfKind(sfDialog))
            return dialogs;
    if (TSkinData* main = LastOfKind(sfMainform))
        return main;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

TControl* TSkinManage::FindForm(HWND wnd) const {
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
            // As above: a form without a window is not given one by a lookup.
            TCustomForm* form = Screen->Forms(i);
            if (form->HandleAllocated() && form->Handle() == wnd)
                return form;
        }
    return ControlFromWindow(wnd);
}

void TSkinManage::SkinForm(TCustomForm& form) {
    if (!form.Visible())
        return;
    const HWND wnd = form.Handle();
    if (GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)
        return;
    SkinWindow(wnd);
}

// ---- popup menus ----------------------------------------------------------------------------

void TSkinManage::SkinPopup(HWND wnd) {
    if (!FActive || SendMessageA(wnd, WMS_ISSKINNED, 0, 0) == 1)
        return;
    if (std::any_of(FPopups.begin(), FPopups.end(), [wnd](const auto& p) { return p->MenuWnd() == wnd; }))
        return;
    TSkinData* skin = ChooseSkinData(wnd);
    if (!skin || skin->SkinLoading())
        return;
    const TSkinControlTypes controls = skin->SkinControls();
    bool wanted = false;
    switch (FMenuKind) {
    case mkPopup:
        wanted = controls.Contains(xcPopupMenu);
        break;
    case mkMenuBar:
        wanted = controls.Contains(xcMainMenu) || controls.Contains(xcMenuItem);
        break;
    case mkSystemMenu:
        wanted = controls.Contains(xcSystemMenu);
        break;
    }
    if (!wanted)
        return;
    auto popup = std::make_unique<TWinSkinPopMenu>();
    popup->Attach(wnd, *skin, nullptr);
    if (popup->Attached())
        FPopups.push_back(std::move(popup));
}

bool TSkinManage::ReleasePopup(HWND wnd) {
    const auto it =
        std::find_if(FPopups.begin(), FPopups.end(), [wnd](const auto& p) { return p->MenuWnd() == wnd; });
    const bool found = it != FPopups.end();
    if (found) {
        std::unique_ptr<TWinSkinPopMenu> popup = std::move(*it);
        FPopups.erase(it);
        popup->Detach();
    }
    if (FPopups.empty())
        FMenuKind = mkPopup;
    return found;
}

void TSkinManage::BindPopupMenu(HMENU menu) {
    const auto it = std::find_if(FPopups.rbegin(), FPopups.rend(),
                                 [](const auto& p) { return p->MenuHandle() == nullptr; });
    if (it != FPopups.rend())
        (*it)->SetMenuHandle(menu);
}

TWinSkinPopMenu* TSkinManage::PopupShowing(HMENU menu) const {
    if (!menu)
        return nullptr; // no menu: not one of the unbound windows
    const auto it = std::find_if(FPopups.begin(), FPopups.end(),
                                 [menu](const auto& p) { return p->MenuHandle() == menu; });
    return it == FPopups.end() ? nullptr : it->get();
}

TBitmap* TSkinManage::PopupBackground(HMENU menu) {
    TWinSkinPopMenu* popup = PopupShowing(menu);
    return popup ? &popup->Background() : nullptr;
}

TPopupBackground TSkinManage::ItemBackground(HMENU menu) {
    TWinSkinPopMenu* popup = PopupShowing(menu);
    return popup ? TPopupBackground{&popup->Background(), popup->ClientOrigin()} : TPopupBackground{};
}
