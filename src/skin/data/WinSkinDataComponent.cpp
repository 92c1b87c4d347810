// TSkinData's published interface, construction and destruction, and the stored skin's
// streaming.
#include "WinSkinDataComponent.h"

#include "SkinMessage.h"
#include "WinSkinDataWatcher.h"

#include <algorithm>

const TEnumType SkinControlTypeType{
    "TSkinControlType",
    {"xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
     "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
     "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
     "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"}};

const TEnumType SkinOptionType{"TSkinOption",
                               {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview",
                                "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder",
                                "xoMenuBG", "xoFormScrollbar"}};

const TEnumType SkinFormTypeType{"TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};

TClass TSkinData::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TSkinData>("TSkinData")
            .Bool("Active", &TSkinData::Active, &TSkinData::AssignActive)
            .Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
            .Set("SkinControls", SkinControlTypeType, &TSkinData::SkinControls, &TSkinData::SetSkinControls)
            .Set("Options", SkinOptionType, &TSkinData::Options, &TSkinData::SetOptions)
            .Obj<TStringList>(
                "Skin3rd", [](TSkinData& s) -> TObject* { return s.Skin3rd(); }, &TSkinData::SetSkin3rd)
            .Str("SkinFile", &TSkinData::SkinFile, &TSkinData::AssignSkinFile)
            .Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
            .Enum("SkinFormtype", SkinFormTypeType, &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
            .Str("Version", &TSkinData::Version, &TSkinData::SetVersion)
            .Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
            .Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
            .Event<TOnFormSkin>("OnFormSkin", &TSkinData::OnFormSkin)
            .Event<TNotifyEvent>("OnSkinChanged", &TSkinData::OnSkinChanged)
            .Event<TOnSkinControl>("OnSkinControl", &TSkinData::OnSkinControl)
            .Event<TOnSkinForm>("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm)
            .Event<TOnSkinForm>("OnAfterSkinForm", &TSkinData::OnAfterSkinForm)
            .Binary("SkinStream", &TSkinData::ReadSkinStream, &TSkinData::WriteSkinStream)
            .Build();
    return &info;
}

namespace {

// Form descriptions create the component by its class name.
const bool kRegistered = (RegisterClasses({TSkinData::StaticClass()}), true);

constexpr const char* kStoredSkinDamaged = "The skin stored with this form is damaged and cannot be used.";

} // namespace

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), FMenuGlyphs(new TImageList(nullptr)) {
    DefaultSkin3rd(FSkin3rd);
    FAppIcon.SetPixelFormat(pf24bit);
    LoadMenuGlyphs();
}

TSkinData::~TSkinData() {
    if (ISkinWatcher* watcher = SkinWatcher(); watcher && FRegistered)
        watcher->UnregisterSkinData(*this);
}

void TSkinData::SetSkin3rd(TStrings* value) {
    if (value)
        FSkin3rd.Assign(value);
    else
        FSkin3rd.Clear();
}

std::string TSkinData::SkinStore() const {
    if (Designing() && !FSkinFileStream.Bytes().empty())
        return "(Good)";
    return "(none)";
}

void TSkinData::ReadSkinStream(TStream& stream) {
    std::uint8_t countBytes[4] = {};
    if (stream.Read(countBytes, 4) != 4) {
        ShowSkinMessage(kStoredSkinDamaged);
        return;
    }
    const auto count = static_cast<std::int32_t>(countBytes[0] | countBytes[1] << 8 | countBytes[2] << 16 |
                                                 static_cast<std::uint32_t>(countBytes[3]) << 24);
    if (count <= 0)
        return;
    // A count that runs past the stored bytes would leave a cut-off skin: nothing of it is kept.
    if (count > stream.Size() - stream.Position()) {
        ShowSkinMessage(std::string(kStoredSkinDamaged) + "\rIt declares " + std::to_string(count) +
                        " bytes but holds " + std::to_string(stream.Size() - stream.Position()) + ".");
        return;
    }
    FSkinFileStream.SetSize(count);
    FSkinFileStream.SetPosition(0);
    stream.ReadBuffer(FSkinFileStream.Memory(), count);
    FSkinFileStream.SetPosition(0);
    if (!Designing())
        LoadSkinFromStream();
}

void TSkinData::WriteSkinStream(TStream& stream) {
    const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(FSkinFileStream.Size(), INT32_MAX));
    stream.WriteInt32LE(count);
    if (count > 0)
        stream.WriteBuffer(FSkinFileStream.Memory(), count);
}
