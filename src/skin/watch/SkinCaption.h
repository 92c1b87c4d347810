// TSkinCaption: a companion of the skin data component, placed on the same form. While it is
// active and its SkinAlpha is above 0, every top-level window the skin engine has skinned is
// shown with that opacity (255 opaque); SkinAlpha 0, the usual setting, leaves windows as they
// are. The Active switch and the opacity are shared by all instances.
//
// Two thread hooks do the work: the window-procedure hook sees a window report that it has
// been skinned and applies the opacity, the CBT hook forgets destroyed windows. They are
// installed by the first instance made at run time and removed with the last one.
#pragma once

#include "Component.h"

#include <cstdint>
#include <string>

class TSkinCaption : public TComponent {
    TW_DECLARE_CLASS(TSkinCaption, TComponent)

    explicit TSkinCaption(TComponent* owner);
    ~TSkinCaption() override;

    // What Author always reads; writing it changes nothing.
    static constexpr const char* AuthorText = "Tarnwick skin engine";
    // Shown at design time when the owner has no TSkinData.
    static const char* MissingSkinDataTip();

    // ---- published ----
    bool Active() const;
    // Stores the shared value; at run time every skinned window's frame is refreshed, and
    // windows made translucent by the add-on become opaque again when it is switched off.
    void SetActive(bool value);
    // 0 to 255; copied to the shared value when the form has been read.
    int SkinAlpha() const { return FSkinAlpha; }
    void SetSkinAlpha(int value);
    std::string Author() const { return AuthorText; }
    void SetAuthor(const std::string&) {}

    void Loaded() override;

    // The values all instances share.
    static bool SharedActive();
    static std::uint8_t SharedSkinAlpha();
    // True while the add-on's hooks are installed.
    static bool HooksInstalled();

private:
    bool Designing() const;
    void ApplyToSkinnedWindows() const;

    std::uint8_t FSkinAlpha = 0;
    bool FUsesHooks = false;
};

// Two further classes of the add-on that form descriptions may name. They have no behaviour
// of their own: each holds two values that start at zero, the first cleared again when the
// component is freed.
class TClassAcSkin : public TComponent {
    TW_DECLARE_CLASS(TClassAcSkin, TComponent)
    explicit TClassAcSkin(TComponent* owner) : TComponent(owner) {}
    ~TClassAcSkin() override { FTarget = nullptr; }

    void* FTarget = nullptr;
    std::int32_t FValue = 0;
};

class TClassAcButton : public TComponent {
    TW_DECLARE_CLASS(TClassAcButton, TComponent)
    explicit TClassAcButton(TComponent* owner) : TComponent(owner) {}
    ~TClassAcButton() override { FTarget = nullptr; }

    void* FTarget = nullptr;
    std::int32_t FValue = 0;
};
