// TSkinData: the component an application puts on its main form to get a skinned user
// interface. It holds the bytes of one skin file (stored with the form as "SkinStream" or read
// from SkinFile), parses them into the element records whenever a skin is loaded, publishes the
// settings the painters consult, and switches skinning on and off through the window watcher.
#pragma once

#include "Bitmap.h"
#include "Closure.h"
#include "Component.h"
#include "ImageList.h"
#include "Streams.h"
#include "Strings.h"
#include "TypInfo.h"
#include "WinSkinDataElements.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TControl;
class ISkinWatcher;

// Control kinds that can be skinned; member k is bit k of SkinControls.
enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport
};
using TSkinControlTypes = TSet<TSkinControlType>;

enum TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoMDIChildBorder,
    xoMenuBG,
    xoFormScrollbar
};
using TSkinOptions = TSet<TSkinOption>;

// sfMainform skins the whole application, sfOnlyThisForm only the form owning the component.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

extern const TEnumType SkinControlTypeType;
extern const TEnumType SkinOptionType;
extern const TEnumType SkinFormTypeType;

class TSkinData;

// Lets the application veto (or allow) skinning of a window by its class name.
using TOnFormSkin = TClosure<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
// Raised when a form painter attaches a control painter; the handler may supply its own.
using TOnSkinControl =
    TClosure<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                  const std::string& ControlClass, TComponent*& SkinnedControl)>;
// Raised before and after a window is skinned.
using TOnSkinForm = TClosure<void(TObject* Sender, HWND ahwnd, const std::string& aName)>;

class TSkinData : public TComponent {
    TW_DECLARE_CLASS(TSkinData, TComponent)

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    static constexpr const char* FixedVersion = "4.11.07.25";
    static constexpr std::int32_t DefaultDisableTag = 99;
    static constexpr TSkinControlTypes DefaultSkinControls = TSkinControlTypes::FromBits(
        ((1u << (xcFastReport + 1)) - 1) & ~((1u << xcMenuItem) | (1u << xcFastReport)));
    static constexpr TSkinOptions DefaultOptions{xoPreview, xoToolbarBK};
    // The glyphs of skinned system menus (restore, maximize, minimize, close) and the file a
    // skin author may put beside the program to replace its stored skin.
    static constexpr const char* MenuGlyphsResource = "LUMASKINMENU";
    static constexpr const char* ProgramSkinFileName = "main.skn";

    // ---- published properties, in the order a form stores them ----
    bool Active() const { return FActive; }
    void AssignActive(bool value);
    std::int32_t DisableTag() const { return FDisableTag; }
    void SetDisableTag(std::int32_t value) { FDisableTag = value; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) { FSkinControls = value; }
    TSkinOptions Options() const { return FOptions; }
    void SetOptions(TSkinOptions value) { FOptions = value; }
    // Lines "class name=kind": foreign controls skinned as a standard kind ("nil": not at all).
    TStringList* Skin3rd() { return &FSkin3rd; }
    void SetSkin3rd(TStrings* value); // copies the lines
    const std::string& SkinFile() const { return FSkinFile; }
    void AssignSkinFile(const std::string& path);
    // "(none)" at run time; "(Good)" in the form designer while a skin is held. Written values
    // are ignored.
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    std::string Version() const { return FixedVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool value) { FMenuUpdate = value; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool value) { FMenuMerge = value; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // ---- the stored skin ("SkinStream": 32-bit count, then the skin file's bytes) ----
    void ReadSkinStream(TStream& stream);
    void WriteSkinStream(TStream& stream);
    TMemoryStream& SkinFileStream() { return FSkinFileStream; }

    // Parses SkinFileStream into the elements. False when the package was refused (the user
    // has been told once) or in the form designer; SkinLoading then stays true.
    bool LoadSkinFromStream();
    // Makes skinned windows pick up a newly loaded skin.
    void ApplySkin();
    // Replaces the current skin by the skin file at path when that file is a valid skin. A
    // missing file changes nothing; an unusable one is reported once and the current skin
    // stays. True when the file's skin was loaded.
    bool LoadReplacementSkin(const std::string& path);
    // The same for a skin file's bytes already read; name says which file in the message.
    bool ReplaceSkin(TMemoryStream& candidate, const std::string& name);
    // The framework's notification that the form has been read.
    void Loaded() override;
    void AfterLoad();
    // Asked by the watcher before it skins a window; skin arrives true unless the watcher has
    // already refused the window.
    void ShouldSkinWindow(HWND wnd, const std::string& className, bool& skin);
    void DoSkinChanged();

    // True from creation and from the start of every load until a skin has been parsed.
    bool SkinLoading() const { return FSkinLoading; }
    // Frame painters paint only while this is on; off around the framework's menu rebuild.
    bool FramePainting() const { return FFramePainting; }
    void SetFramePainting(bool value) { FFramePainting = value; }
    const TSkinElements& Elements() const { return FElements; }
    TCustomImageList& MenuGlyphs() { return *FMenuGlyphs; }
    // The application's small icon on magenta (transparent colour 0xFF00FF).
    TBitmap& AppIcon() { return FAppIcon; }
    // "main.skn" in the folder of the running program.
    static std::string ProgramSkinPath();

private:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool Reading() const { return ComponentState().Contains(csLoading); }
    // The watcher, created and this component registered with it when needed.
    ISkinWatcher* RegisteredWatcher();
    void StartOwnFormOnly(ISkinWatcher* watcher);
    void AdjustMenuControls();
    void BuildAppIcon();
    void LoadMenuGlyphs();

    bool FActive = false;
    std::int32_t FDisableTag = DefaultDisableTag;
    TSkinControlTypes FSkinControls = DefaultSkinControls;
    TSkinOptions FOptions = DefaultOptions;
    TStringList FSkin3rd;
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;

    TMemoryStream FSkinFileStream;
    bool FSkinLoading = true;
    bool FFramePainting = true;
    bool FRegistered = false;
    TSkinElements FElements;
    std::unique_ptr<TImageList, TObjectDeleter> FMenuGlyphs;
    TBitmap FAppIcon;
};

// The class map Skin3rd starts with (117 lines, duplicates included).
void DefaultSkin3rd(TStrings& lines);
