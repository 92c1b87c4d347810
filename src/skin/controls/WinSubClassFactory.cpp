#include "SkinnerFactory.h"

#include "WinSkinForm.h"
#include "WinSubClassButtons.h"
#include "WinSubClassChecks.h"
#include "WinSubClassMediaPlayer.h"
#include "WinSubClassPanels.h"
#include "WinSubClassScroll.h"
#include "WinSubClassTabs.h"
#include "WinSubClassSpin.h"

namespace {

TSkinControl* NewSkinner(TSkinnerKind kind, TComponent* owner) {
    switch (kind) {
    case skButton:
        return new TSkinButton(owner);
    case skBitButton:
        return new TSkinBitButton(owner);
    case skMenuButton:
        return new TSkinMenuButton(owner);
    case skSpeedButton:
        return new TSkinSpeedButton(owner);
    case skCheckBox:
        return new TSkinCheckBox(owner);
    case skRadioButton:
        return new TSkinRadioButton(owner);
    case skObjImage:
        return new TSkinObjImage(owner);
    case skBox:
        return new TSkinBox(owner);
    case skBoxH:
        return new TSkinBoxH(owner);
    case skSizer:
        return new TSkinSizer(owner);
    case skGroupBox:
        return new TSkinGroupBox(owner);
    case skStatusBar:
        return new TSkinStatusBar(owner);
    case skProgress:
        return new TSkinProgress(owner);
    case skTrackBar:
        return new TSkinTrackBar(owner);
    case skMP:
        return new TSkinMP(owner);
    case skTab:
        return new TSkinTab(owner);
    case skTabBtn:
        return new TSkinTabBtn(owner);
    case skTab31:
        return new TSkinTab31(owner);
    case skTabSheet:
        return new TSkinTabSheet(owner);
    case skAdvPage:
        return new TSkinAdvPage(owner);
    case skComBox:
        return new TSkinComBox(owner);
    case skEdit:
        return new TSkinEdit(owner);
    case skUpDown:
        return new TSkinUpDown(owner);
    case skDateTime:
        return new TSkinDateTime(owner);
    case skScrollbar:
        return new TSkinScrollbar(owner);
    case skListView:
        return new TSkinListView(owner);
    case skScControl:
        return new TSkinScControl(owner);
    default:
        // The other families are not part of this engine yet.
        return nullptr;
    }
}

} // namespace

TSkinControl* AttachSkinner(const TSkinnerChoice& choice, TWinSkinForm& form, TControl* control, HWND wnd) {
    // Skinners of bare windows belong to the form painter, the others to their control.
    TComponent* owner = choice.Attach == saWindow ? static_cast<TComponent*>(&form) : control;
    if (!owner)
        return nullptr;
    TSkinControl* skinner = NewSkinner(choice.Kind, owner);
    if (!skinner)
        return nullptr;
    skinner->SetVariant(choice.Variant);
    if (auto* bitButton = dynamic_cast<TSkinBitButton*>(skinner))
        bitButton->SetPictureProp(choice.PictureProp);
    if (auto* objImage = dynamic_cast<TSkinObjImage*>(skinner))
        objImage->SetGlyphKind(choice.GlyphKind);
    if (auto* advPage = dynamic_cast<TSkinAdvPage*>(skinner))
        advPage->SetAdvKind(choice.AdvKind);
    switch (choice.Attach) {
    case saWindow:
        skinner->AttachWindow(wnd, form.SkinData(), &form, form.ControlCanvas());
        break;
    case saScrolled:
        if (auto* scrolled = dynamic_cast<TSkinScrollbar*>(skinner))
            if (auto* windowed = dynamic_cast<TWinControl*>(control))
                scrolled->AttachScrolled(windowed, form.SkinData(), &form, form.ControlCanvas());
        break;
    case saScrollBar:
        if (auto* bar = dynamic_cast<TSkinScControl*>(skinner))
            if (auto* windowed = dynamic_cast<TWinControl*>(control))
                bar->AttachScrollBar(windowed, form.SkinData(), &form, form.ControlCanvas());
        break;
    case saGraphic:
        if (auto* speedButton = dynamic_cast<TSkinSpeedButton*>(skinner))
            speedButton->AttachGraphic(&form, form.SkinData(), form.ControlCanvas());
        break;
    default:
        skinner->AttachControl(&form, form.SkinData(), choice.OwnColor, form.ControlCanvas());
        break;
    }
    return skinner;
}
