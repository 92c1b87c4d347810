// What the common controls share: class registration, custom-draw states, image list links.
#include "ComCtrls.h"

const TEnumType CustomDrawStateType{"TCustomDrawState",
                                    {"cdsSelected", "cdsGrayed", "cdsDisabled", "cdsChecked", "cdsFocused",
                                     "cdsDefault", "cdsHot", "cdsMarked", "cdsIndeterminate"}};

void InitCommonControl(DWORD classes) {
    static DWORD registered = 0;
    if ((registered & classes) == classes)
        return;
    INITCOMMONCONTROLSEX init{sizeof init, classes};
    if (InitCommonControlsEx(&init))
        registered |= classes;
}

TCustomDrawState CustomDrawStateOf(UINT itemState) {
    static constexpr struct {
        UINT Flag;
        TCustomDrawStateItem Item;
    } kMap[] = {
        {CDIS_SELECTED, cdsSelected}, {CDIS_GRAYED, cdsGrayed}, {CDIS_DISABLED, cdsDisabled},
        {CDIS_CHECKED, cdsChecked},   {CDIS_FOCUS, cdsFocused}, {CDIS_DEFAULT, cdsDefault},
        {CDIS_HOT, cdsHot},           {CDIS_MARKED, cdsMarked}, {CDIS_INDETERMINATE, cdsIndeterminate}};
    TCustomDrawState state;
    for (const auto& m : kMap)
        if (itemState & m.Flag)
            state.Include(m.Item);
    return state;
}

// ---- TImageListLink ------------------------------------------------------------------------

TImageListLink::TImageListLink(TComponent& owner, const TNotifyEvent& changed) : FOwner(owner) {
    FLink.SetOnChange(changed);
}

TImageListLink::~TImageListLink() {
    if (FList)
        FList->UnRegisterChanges(&FLink);
}

// The free notification stays when the list is replaced: another property of the owner may
// show the same list, and a notification about a list no longer shown is ignored.
void TImageListLink::Set(TCustomImageList* list) {
    if (FList == list)
        return;
    if (FList)
        FList->UnRegisterChanges(&FLink);
    FList = list;
    if (list) {
        list->RegisterChanges(&FLink);
        list->FreeNotification(&FOwner);
    }
    FLink.Change();
}

void TImageListLink::Removed(TComponent* component) {
    if (component != FList || !FList)
        return;
    FList->UnRegisterChanges(&FLink);
    FList = nullptr;
    FLink.Change();
}
