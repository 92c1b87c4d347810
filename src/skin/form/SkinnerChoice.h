// Which skinner a control gets: pure decisions over what the form painter reads from a
// control or a bare window (class chain, class name, style, tag, a few published values) and
// the skin data's settings (SkinControls, DisableTag, the Skin3rd map, the skin's elements).
// The form painter carries a plan out (WinSkinFormControls.cpp); nothing here touches a
// window, so every row of the tables is testable on its own.
#pragma once

#include "Object.h"
#include "Strings.h"
#include "WinSkinDataComponent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

// The skinner classes discovery creates.
enum TSkinnerKind {
    skNone,
    skButton,
    skBitButton,
    skMenuButton,
    skSpeedButton,
    skCheckBox,
    skRadioButton,
    skObjImage,
    skGroupBox,
    skBox,
    skBoxH,
    skSizer,
    skStatusBar,
    skProgress,
    skTrackBar,
    skUpDown,
    skEdit,
    skDateTime,
    skComBox,
    skTab,
    skTabBtn,
    skTab31,
    skTabSheet,
    skAdvPage,
    skScrollbar,
    skListView,
    skScControl,
    skMP
};
// "TSkinButton" for skButton; "" for skNone.
std::string_view SkinnerClassName(TSkinnerKind kind);

// How a skinner is attached: to a framework control, to a bare window, as a scroll-bar
// overlay owner, or to a windowless control, or to a scroll-bar control.
enum TSkinAttach { saControl, saWindow, saScrolled, saGraphic, saScrollBar };

struct TSkinnerChoice {
    TSkinnerKind Kind = skNone;
    bool OwnColor = false;
    int Variant = 0;
    int GlyphKind = 0; // check-glyph strips written into a foreign control
    int AdvKind = 0;   // page kind of an advanced page control
    std::string PictureProp;
    TSkinAttach Attach = saControl;
    bool operator==(const TSkinnerChoice&) const = default;
};

// What happens to the children of a control while it is skinned.
enum TChildWalk {
    cwNone,
    cwBefore,        // the children are walked before the control's skinner is attached
    cwAfter,         // after it
    cwAfterNoParent, // after it, each child on its own (no parent form)
    cwGroupChildren, // each child gets the group's child skinner (ChildRule)
};

// The child skinner of grouping kinds of the Skin3rd map.
enum TChildRule { grNone, grRadioGroup, grCheckGroup, grEmbedScroll };

struct TSkinPlan {
    TSkinnerChoice Skinner; // the control's own; skNone: none
    TChildWalk Children = cwNone;
    TChildRule ChildRule = grNone;
    bool SetFlat = false;         // published Flat := True
    bool SetTransparent = false;  // published Transparent := True
    bool ToolbarHandlers = false; // the skinned toolbar background and button drawing
    bool HookMenuItems = false;   // owner-drawn menu items of a toolbar's or tool button's menu
    bool WalkComponents = false;  // an embedded form: its components are walked too
    bool operator==(const TSkinPlan&) const = default;
};

// What the decisions read of a framework control.
struct TControlFacts {
    TClass Class = nullptr;
    std::string ClassName;  // upper case
    LONG_PTR Style = 0;     // window style (0 for windowless controls)
    bool HasBorder = false; // window and client rectangles differ in size
    std::string PageStyle;  // a page control's tab style, lower case ("tstabs")
    int64_t NumButtons = -1;
    std::string Kind; // published "Kind", lower case
    bool InheritsFrom(std::string_view ancestor) const;
};

struct TSkinSettings {
    TSkinControlTypes Controls;
    bool HasTabs = false;      // the skin has a Tabs element
    bool FrameSkinned = false; // the form's frame is skinned
    bool Has(TSkinControlType kind) const { return Controls.Contains(kind); }
    bool TabsReady() const { return Has(xcTab) && HasTabs; }
};

// A control whose tag disables skinning and whose class groups radio or check buttons
// passes the tag on to its children.
bool IsButtonGroupClass(std::string_view className);

// The Skin3rd value for a class: the text after the first "=" of the first line that starts
// with the lower-case class name and "=", at most 50 characters; none without such a line.
std::optional<std::string> Skin3rdValue(const TStrings& lines, std::string_view className);
// The plan a Skin3rd value selects ("nil" and unknown values: nothing).
TSkinPlan PlanFromSkin3rd(std::string_view value, const TControlFacts& control,
                          const TSkinSettings& settings);
// The class table, for a control the Skin3rd map does not name.
TSkinPlan PlanFromClassTable(const TControlFacts& control, const TSkinSettings& settings);
// The skinner a child of a grouping control gets.
TSkinnerChoice GroupChildSkinner(TChildRule rule, const TControlFacts& child, const TSkinSettings& settings);

// ---- bare windows ---------------------------------------------------------------------------

struct TWindowPlan {
    TSkinnerKind Kind = skNone;
    bool FirstChild = false;   // the skinner serves the window's first child instead
    bool WalkChildren = false; // the child windows are skinned first
    bool FaceColor = false;    // the framework control behind the window takes the face colour
    bool operator==(const TWindowPlan&) const = default;
};

// className is the lower-case Win32 class name.
TWindowPlan PlanForWindow(std::string_view className, LONG_PTR style);
